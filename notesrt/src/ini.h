// notes.ini: KEY=VALUE lines.
#pragma once

#include <map>
#include <string>

namespace notesrt {

// The variables of a notes.ini file. Keys are compared without regard to case.
class IniFile {
  public:
    // Reads text: an optional UTF-8 byte-order mark, then KEY=VALUE lines ended by LF or
    // CR LF. Lines without "=" (a [Notes] header among them) and lines with an empty key are
    // ignored; blanks around the key are dropped, the value is kept as written; the first of
    // repeated keys wins.
    static IniFile Parse(const std::string& text);

    // The value of key; null when the key is not set.
    const std::string* Find(const std::string& key) const;

    // The value of key, or fallback when it is not set.
    std::string Get(const std::string& key, const std::string& fallback) const;

  private:
    std::map<std::string, std::string> m_values; // values by lower-case key
};

} // namespace notesrt
