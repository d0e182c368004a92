// The vCard reader.
#include "vcard.h"

#include <iconv.h>

#include <memory>
#include <set>

namespace korvo_import {
namespace {

// The values a vCard 2.1 parameter without a name takes as its ENCODING.
const std::set<std::string> kEncodings = {"BASE64", "B", "QUOTED-PRINTABLE", "8BIT", "7BIT"};

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

// Splits one content line into name, parameters and value. Throws CardProblem naming the
// property.
VCardProperty ReadProperty(const ContentLine& line) {
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
        throw CardProblem{line.line, "not a property line"};
    const auto fail = [&](const std::string& problem) {
        return CardProblem{line.line, property.name + ": " + problem};
    };
    while (i < text.size() && text[i] == ';') {
        ++i;
        const std::string name = ReadName(text, i);
        if (name.empty())
            throw fail("a parameter without a name or a value");
        if (i >= text.size() || text[i] != '=') {
            property.params[kEncodings.count(name) != 0 ? "ENCODING" : "TYPE"].push_back(name);
            continue;
        }
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

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Quoted-printable text decoded: "=" and two hexadecimal digits stand for a byte; any other "="
// is kept as written.
std::string FromQuotedPrintable(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '=' ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0) {
            bytes += text[i];
            continue;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

struct IconvClose {
    void operator()(void* converter) const { iconv_close(static_cast<iconv_t>(converter)); }
};

// The property's value from its CHARSET into UTF-8.
std::string ToUtf8(const VCardProperty& property, const std::string& charset) {
    const std::string name = Upper(charset);
    if (name == "UTF-8" || name == "UTF8" || name == "US-ASCII")
        return property.value;
    iconv_t opened = iconv_open("UTF-8", charset.c_str());
    if (opened == reinterpret_cast<iconv_t>(-1))
        throw CardProblem{property.line,
                          property.name + ": CHARSET \"" + charset + "\", which is not known"};
    const std::unique_ptr<void, IconvClose> converter(opened);
    std::string in = property.value;
    std::string out(in.size() * 4 + 4, '\0');
    char* from = in.data();
    size_t fromLeft = in.size();
    char* to = out.data();
    size_t toLeft = out.size();
    if (iconv(opened, &from, &fromLeft, &to, &toLeft) == static_cast<size_t>(-1))
        throw CardProblem{property.line,
                          property.name + ": not text of its CHARSET \"" + charset + "\""};
    out.resize(out.size() - toLeft);
    return out;
}

// Decodes the property's value into UTF-8 text (its encoding and charset undone; base64 stays
// as written). lineProblem: why the line's bytes are no UTF-8 text, which only counts for a
// value that is neither quoted-printable nor of another CHARSET.
void Decode(VCardProperty& property, const std::string& lineProblem) {
    const std::string encoding = EncodingOf(property);
    const auto charset = property.params.find("CHARSET");
    const bool convert = charset != property.params.end() && !charset->second.empty();
    const bool quoted = encoding == "QUOTED-PRINTABLE";
    if (!convert && !quoted) {
        if (!lineProblem.empty())
            throw CardProblem{property.line, property.name + ": " + lineProblem};
        return;
    }
    if (quoted)
        property.value = FromQuotedPrintable(property.value);
    if (convert)
        property.value = ToUtf8(property, charset->second[0]);
    const std::string problem = TextProblem(property.value, true);
    if (!problem.empty())
        throw CardProblem{property.line, property.name + ": " + problem + " once decoded"};
}

// Resolves the escapes of one piece of a value.
std::string Unescape(const VCardProperty& property, const std::string& raw) {
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            text += raw[i];
            continue;
        }
        const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
        if (next == 'n' || next == 'N')
            text += '\n';
        else if (next == '\\' || next == ',' || next == ';' || next == ':')
            text += next;
        else
            throw CardProblem{property.line, property.name + ": a backslash before \"" +
                                                 std::string(1, next) + "\", which is no escape"};
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
    const std::vector<ContentLine> lines = ReadContentLines(file);
    std::vector<VCard> cards;
    bool inside = false;
    for (size_t k = 0; k < lines.size(); ++k) {
        const ContentLine& line = lines[k];
        VCardProperty property;
        CardProblem fault;
        try {
            property = ReadProperty(line);
        } catch (const CardProblem& problem) {
            fault = problem;
        }
        // A quoted-printable value ending in "=" goes on in the next line.
        std::string problem = line.problem;
        while (fault.line == 0 && EncodingOf(property) == "QUOTED-PRINTABLE" &&
               !property.value.empty() && property.value.back() == '=' && k + 1 < lines.size()) {
            property.value.pop_back();
            property.value += lines[++k].text;
            problem = problem.empty() ? lines[k].problem : problem;
        }
        try {
            if (fault.line == 0)
                Decode(property, problem);
        } catch (const CardProblem& bad) {
            property.fault = bad;
        }
        if (!inside && fault.line != 0)
            throw ErrorAt(file, line.line, fault.reason);
        const std::string value = Upper(property.value);
        if (fault.line == 0 && property.name == "BEGIN" && value == "VCARD") {
            if (inside && cards.back().problem.line == 0)
                cards.back().problem = {cards.back().line,
                                        "END: missing before the BEGIN:VCARD of line " +
                                            std::to_string(line.line)};
            inside = true;
            cards.push_back(VCard{line.line, "", {}, {}});
            continue;
        }
        if (!inside)
            throw ErrorAt(file, line.line, property.name + ": outside a card");
        VCard& card = cards.back();
        if (fault.line != 0) {
            if (card.problem.line == 0)
                card.problem = fault;
        } else if (property.name == "END" && value == "VCARD") {
            inside = false;
            const VCardProperty* name = card.First("FN");
            if (card.problem.line == 0 && card.version != "2.1" && card.version != "3.0" &&
                card.version != "4.0")
                card.problem = {card.line, "VERSION: \"" + card.version +
                                               "\", only vCard 2.1, 3.0 and 4.0 are read"};
            if (card.problem.line == 0 && (name == nullptr || name->value.empty()))
                card.problem = {card.line, "FN: missing in the card, or empty"};
        } else if (property.name == "VERSION") {
            card.version = property.value;
        } else {
            card.properties.push_back(std::move(property));
        }
    }
    if (inside)
        throw ErrorAt(file, lines.back().line,
                      "END: the card of line " + std::to_string(cards.back().line) +
                          " has no END:VCARD");
    return cards;
}

std::string VCardText(const VCardProperty& property) {
    if (property.fault.line != 0)
        throw property.fault;
    return Unescape(property, property.value);
}

std::vector<std::string> VCardComponents(const VCardProperty& property) {
    if (property.fault.line != 0)
        throw property.fault;
    std::vector<std::string> components;
    std::string piece;
    for (size_t i = 0; i < property.value.size(); ++i) {
        const char c = property.value[i];
        if (c == ';') {
            components.push_back(Unescape(property, piece));
            piece.clear();
            continue;
        }
        piece += c;
        if (c == '\\' && i + 1 < property.value.size())
            piece += property.value[++i];
    }
    components.push_back(Unescape(property, piece));
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

std::string EncodingOf(const VCardProperty& property) {
    const auto encoding = property.params.find("ENCODING");
    return encoding != property.params.end() && !encoding->second.empty()
               ? Upper(encoding->second[0])
               : "";
}

} // namespace korvo_import
