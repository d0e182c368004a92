// Reading content lines.
#include "content_lines.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace korvo_import {
namespace {

// The length of the UTF-8 sequence at text[i], or 0 when it is not one (overlong forms,
// surrogates and values above U+10FFFF included).
size_t Utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned long value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (byte(i + k) & 0x3F);
    }
    const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

ImportError ErrorAt(const std::string& file, int line, const std::string& message) {
    return ImportError(file + ":" + std::to_string(line) + ": " + message);
}

std::vector<ContentLine> ReadContentLines(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ImportError(file + ": cannot be read");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw ImportError(file + ": cannot be read");
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);

    std::vector<ContentLine> lines;
    int number = 0;
    size_t position = 0;
    while (position < bytes.size()) {
        ++number;
        size_t end = bytes.find('\n', position);
        if (end == std::string::npos)
            end = bytes.size();
        std::string text = bytes.substr(position, end - position);
        position = end + 1;
        while (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::string problem = TextProblem(text, false);
        if (text.empty())
            continue;
        if (text[0] == ' ' || text[0] == '\t') {
            if (lines.empty())
                throw ErrorAt(file, number, "a continuation line without a line before it");
            lines.back().text += text.substr(1);
            if (lines.back().problem.empty() && !problem.empty())
                lines.back().problem = problem + " of line " + std::to_string(number);
            continue;
        }
        lines.push_back({std::move(text), number, std::move(problem)});
    }
    return lines;
}

std::string TextProblem(const std::string& text, bool breaks) {
    size_t column = 1;
    for (size_t i = 0; i < text.size(); ++column) {
        const size_t length = Utf8Length(text, i);
        if (length == 0)
            return "not UTF-8 text at column " + std::to_string(column);
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (((c < 0x20 && c != '\t' && !(breaks && (c == '\r' || c == '\n'))) || c == 0x7F)) {
            char code[8];
            std::snprintf(code, sizeof code, "%02X", c);
            return std::string("a control character (0x") + code + ") at column " +
                   std::to_string(column);
        }
        i += length;
    }
    return "";
}

std::string PropertyName(const std::string& text) {
    size_t end = 0;
    while (end < text.size() &&
           ((text[end] >= 'A' && text[end] <= 'Z') || (text[end] >= 'a' && text[end] <= 'z') ||
            (text[end] >= '0' && text[end] <= '9') || text[end] == '-'))
        ++end;
    return Upper(text.substr(0, end));
}

size_t ValueStart(const std::string& text) {
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ':' && !quoted)
            return i + 1;
    }
    return std::string::npos;
}

std::string PropertyValue(const std::string& text) {
    const size_t start = ValueStart(text);
    return start == std::string::npos ? "" : text.substr(start);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

} // namespace korvo_import
