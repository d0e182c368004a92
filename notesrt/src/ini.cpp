// notes.ini parsing.
#include "ini.h"

#include "asciicase.h"

namespace notesrt {
namespace {

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

IniFile IniFile::Parse(const std::string& text) {
    IniFile ini;
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = LowerAscii(TrimBlanks(line.substr(0, equals)));
        if (!key.empty())
            ini.m_values.emplace(key, line.substr(equals + 1));
    }
    return ini;
}

const std::string* IniFile::Find(const std::string& key) const {
    auto found = m_values.find(LowerAscii(key));
    return found == m_values.end() ? nullptr : &found->second;
}

std::string IniFile::Get(const std::string& key, const std::string& fallback) const {
    const std::string* value = Find(key);
    return value == nullptr ? fallback : *value;
}

} // namespace notesrt
