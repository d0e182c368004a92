#include "json_writer.h"

namespace host {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// The length of the well-formed UTF-8 sequence starting at text[i], or 0 when it is
// ill-formed; *subpart gets the bytes of its maximal ill-formed subpart (at least 1).
size_t WellFormedLength(std::string_view text, size_t i, size_t* subpart) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        *subpart = 1;
        return 0;
    }
    size_t k = 1;
    for (; k < length && i + k < text.size(); ++k) {
        const unsigned char c = byte(i + k);
        const bool ok = k == 1 ? (c >= low && c <= high) : (c >= 0x80 && c <= 0xBF);
        if (!ok)
            break;
    }
    *subpart = k;
    return k == length ? length : 0;
}

// Writes utf8 as a JSON string literal to sink, which takes append(std::string_view) and
// push_back(char): the one escaping loop behind both the text and its length.
template <typename Sink> void WriteJsonString(Sink& sink, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    sink.push_back('"');
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x80) {
            size_t subpart = 0;
            const size_t length = WellFormedLength(utf8, i, &subpart);
            sink.append(length == 0 ? std::string_view(kReplacement) : utf8.substr(i, length));
            i += length == 0 ? subpart : length;
            continue;
        }
        ++i;
        switch (c) {
        case '"':
            sink.append("\\\"");
            break;
        case '\\':
            sink.append("\\\\");
            break;
        case '\b':
            sink.append("\\b");
            break;
        case '\f':
            sink.append("\\f");
            break;
        case '\n':
            sink.append("\\n");
            break;
        case '\r':
            sink.append("\\r");
            break;
        case '\t':
            sink.append("\\t");
            break;
        default:
            if (c < 0x20) {
                sink.append("\\u00");
                sink.push_back(kHex[c >> 4]);
                sink.push_back(kHex[c & 0xF]);
            } else {
                sink.push_back(static_cast<char>(c));
            }
        }
    }
    sink.push_back('"');
}

// A sink that only counts the bytes written to it.
struct LengthSink {
    void append(std::string_view text) { length += text.size(); }
    void push_back(char) { ++length; }
    size_t length = 0; // bytes written so far
};

// The bytes AppendJsonString writes for utf8.
size_t JsonStringLength(std::string_view utf8) {
    LengthSink sink;
    WriteJsonString(sink, utf8);
    return sink.length;
}

} // namespace

void AppendJsonString(std::string* out, std::string_view utf8) {
    WriteJsonString(*out, utf8);
}

void JsonObject::StartMember(const char* name) {
    if (m_text.size() > 1)
        m_text.push_back(',');
    m_text.push_back('"');
    m_text.append(name);
    m_text.append("\":");
}

JsonObject& JsonObject::AddString(const char* name, std::string_view utf8) {
    StartMember(name);
    // Room for the literal and the closing brace: a whole listing is written into one block.
    m_text.reserve(m_text.size() + JsonStringLength(utf8) + 1);
    AppendJsonString(&m_text, utf8);
    return *this;
}

JsonObject& JsonObject::AddNumber(const char* name, int64_t value) {
    StartMember(name);
    m_text.append(std::to_string(value));
    return *this;
}

JsonObject& JsonObject::AddRaw(const char* name, std::string_view json) {
    StartMember(name);
    m_text.append(json);
    return *this;
}

std::string JsonArray(const std::vector<std::string>& elements) {
    std::string text = "[";
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i != 0)
            text.push_back(',');
        text.append(elements[i]);
    }
    text.push_back(']');
    return text;
}

} // namespace host
