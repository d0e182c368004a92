#include "script_words.h"

#include <utility>

namespace host {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The character a backslash escape inside double quotes stands for, or 0 when the backslash
// is kept as written.
char DoubleQuoteEscape(char c) {
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case '\\':
        return '\\';
    case '"':
        return '"';
    default:
        return 0;
    }
}

} // namespace

bool SplitScriptLine(const std::string& line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    const size_t n = line.size();
    size_t i = 0;
    while (true) {
        while (i < n && IsBlank(line[i]))
            ++i;
        if (i == n || line[i] == '#')
            return true;

        std::string word;
        while (i < n && !IsBlank(line[i])) {
            const char c = line[i++];
            if (c == '\\') {
                if (i == n) {
                    *error = "line ends in a backslash";
                    return false;
                }
                word += line[i++];
            } else if (c == '\'') {
                const size_t close = line.find('\'', i);
                if (close == std::string::npos) {
                    *error = "unterminated single quote";
                    return false;
                }
                word.append(line, i, close - i);
                i = close + 1;
            } else if (c == '"') {
                while (i < n && line[i] != '"') {
                    const char q = line[i++];
                    const char escaped = q == '\\' && i < n ? DoubleQuoteEscape(line[i]) : 0;
                    if (escaped != 0) {
                        word += escaped;
                        ++i;
                    } else {
                        word += q;
                    }
                }
                if (i == n) {
                    *error = "unterminated double quote";
                    return false;
                }
                ++i;
            } else {
                word += c;
            }
        }
        words->push_back(std::move(word));
    }
}

} // namespace host
