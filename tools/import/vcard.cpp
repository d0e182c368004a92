// The vCard reader.
#include "vcard.h"

namespace korvo_import {
namespace {

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// Reads a name at text[i]; empty when there is none.
std::string ReadName(const std::string& text, size_t& i) {
    const size_t start = i;
    while (i < text.size() && IsNameCharacter(text[i]))
        ++i;
    return Upper(text.substr(start, i - start));
}

// Splits one content line into name, parameters and value; the messages name the property.
VCardProperty ReadProperty(const std::string& file, const ContentLine& line) {
    const std::string& text = line.text;
    VCardProperty property;
    property.line = line.line;
    size_t i = 0;
    property.name = ReadName(text, i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        property.name = ReadName(text, i);
    }
    if (property.name.empty())
        throw ErrorAt(file, line.line, "not a property line");
    const auto fail = [&](const std::string& problem) {
        return ErrorAt(file, line.line, property.name + ": " + problem);
    };
    while (i < text.size() && text[i] == ';') {
        ++i;
        const std::string name = ReadName(text, i);
        if (name.empty() || i >= text.size() || text[i] != '=')
            throw fail("a parameter without a name or a value");
        std::vector<std::string>& values = property.params[name];
        do {
            ++i;
            std::string value;
            if (i < text.size() && text[i] == '"') {
                const size_t close = text.find('"', i + 1);
                if (close == std::string::npos)
                    throw fail("a parameter value without its closing quote");
                value = text.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const size_t end = text.find_first_of(";:,\"", i);
                value = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
                i = end == std::string::npos ? text.size() : end;
            }
            values.push_back(value);
        } while (i < text.size() && text[i] == ',');
    }
    if (i >= text.size() || text[i] != ':')
        throw fail("no \":\" before the value");
    property.value = text.substr(i + 1);
    return property;
}

// Resolves the escapes of one piece of a value.
std::string Unescape(const std::string& file, const VCardProperty& property,
                     const std::string& raw) {
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            text += raw[i];
            continue;
        }
        const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
        if (next == 'n' || next == 'N')
            text += '\n';
        else if (next == '\\' || next == ',' || next == ';')
            text += next;
        else
            throw ErrorAt(file, property.line,
                          property.name + ": a backslash before \"" + std::string(1, next) +
                              "\", which is no escape");
        ++i;
    }
    return text;
}

} // namespace

const VCardProperty* VCard::First(const std::string& name) const {
    for (const VCardProperty& property : properties) {
        if (property.name == name)
            return &property;
    }
    return nullptr;
}

std::vector<VCard> ReadVCards(const std::string& file) {
    std::vector<VCard> cards;
    bool inside = false;
    int lastLine = 0;
    for (const ContentLine& line : ReadContentLines(file)) {
        lastLine = line.line;
        VCardProperty property = ReadProperty(file, line);
        const std::string value = Upper(property.value);
        if (property.name == "BEGIN" && value == "VCARD") {
            if (inside)
                throw ErrorAt(file, line.line, "BEGIN: a card inside a card");
            inside = true;
            cards.push_back(VCard{line.line, "", {}});
            continue;
        }
        if (!inside)
            throw ErrorAt(file, line.line, property.name + ": outside a card");
        VCard& card = cards.back();
        if (property.name == "END" && value == "VCARD") {
            inside = false;
            if (card.version != "3.0" && card.version != "4.0")
                throw ErrorAt(file, card.line,
                              "VERSION: \"" + card.version + "\", only vCard 3.0 and 4.0 are read");
            if (card.First("FN") == nullptr || card.First("FN")->value.empty())
                throw ErrorAt(file, card.line, "FN: missing in the card, or empty");
        } else if (property.name == "VERSION") {
            card.version = property.value;
        } else {
            card.properties.push_back(std::move(property));
        }
    }
    if (inside)
        throw ErrorAt(file, lastLine,
                      "END: the card of line " + std::to_string(cards.back().line) +
                          " has no END:VCARD");
    return cards;
}

std::string VCardText(const std::string& file, const VCardProperty& property) {
    return Unescape(file, property, property.value);
}

std::vector<std::string> VCardComponents(const std::string& file, const VCardProperty& property) {
    std::vector<std::string> components;
    std::string piece;
    for (size_t i = 0; i < property.value.size(); ++i) {
        const char c = property.value[i];
        if (c == ';') {
            components.push_back(Unescape(file, property, piece));
            piece.clear();
            continue;
        }
        piece += c;
        if (c == '\\' && i + 1 < property.value.size())
            piece += property.value[++i];
    }
    components.push_back(Unescape(file, property, piece));
    return components;
}

bool HasType(const VCardProperty& property, const std::string& type) {
    const auto types = property.params.find("TYPE");
    if (types == property.params.end())
        return false;
    for (const std::string& value : types->second) {
        size_t start = 0;
        while (start <= value.size()) {
            size_t end = value.find(',', start);
            if (end == std::string::npos)
                end = value.size();
            if (Upper(value.substr(start, end - start)) == Upper(type))
                return true;
            start = end + 1;
        }
    }
    return false;
}

bool IsPreferred(const VCardProperty& property) {
    const auto pref = property.params.find("PREF");
    return HasType(property, "pref") ||
           (pref != property.params.end() && !pref->second.empty() && pref->second[0] == "1");
}

} // namespace korvo_import
