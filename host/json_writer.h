// A small writer for the one-line JSON objects the host prints.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

// Appends utf8 to *out as a JSON string literal (RFC 8259): quotes, backslash and the
// control characters are escaped; an ill-formed UTF-8 sequence becomes U+FFFD, one for each
// maximal ill-formed subpart, so the output is always well-formed UTF-8.
void AppendJsonString(std::string* out, std::string_view utf8);

// A JSON object built member by member, in the order added. Names are written as given and
// must not need escaping.
class JsonObject {
  public:
    JsonObject& AddString(const char* name, std::string_view utf8);
    JsonObject& AddNumber(const char* name, int64_t value);
    // Adds a value that is already JSON text (an array or object built elsewhere).
    JsonObject& AddRaw(const char* name, std::string_view json);

    // The object's text, "{...}". From a temporary object the text is moved out, not copied,
    // so a large answer (a whole listing) is not held twice.
    std::string Text() const& { return m_text + "}"; }
    std::string Text() && {
        m_text.push_back('}');
        return std::move(m_text);
    }

  private:
    void StartMember(const char* name);

    std::string m_text = "{"; // "{" and the members written so far, comma separated
};

// A JSON array of elements that are already JSON text: "[a,b,...]".
std::string JsonArray(const std::vector<std::string>& elements);

} // namespace host
