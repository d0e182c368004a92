// Helpers of the platform suites. Wide text: WCHAR is char16_t on POSIX and wchar_t on
// Windows, both UTF-16, so tests write u"" literals and widen them unit by unit.
#pragma once

#include "platform/process.h"
#include "platform/registry.h"
#include "platform/wintypes.h"

#include <string>
#include <string_view>
#include <vector>

using WideString = std::basic_string<WCHAR>;

inline WideString W(std::u16string_view text) {
    return WideString(text.begin(), text.end());
}

// The units of text as a u16string, so failures print readably.
inline std::u16string U16(const WCHAR* text, size_t n) {
    return std::u16string(text, text + n);
}

// Reads name from HKEY_CURRENT_USER\path into a 2048-byte buffer, as the library does: the
// text read, or "<open N>" / "<query N>" for a failure. *bytes, when given, gets the size
// reported.
inline std::u16string ReadRegistryValue(const char16_t* path, platform::RegistryView view,
                                        const char16_t* name, uint32_t* bytes = nullptr) {
    const auto failure = [](const char* what, long code) {
        const std::string text = std::string("<") + what + " " + std::to_string(code) + ">";
        return std::u16string(text.begin(), text.end());
    };
    platform::UniqueRegistryKey key;
    const long opened = platform::RegOpenCurrentUserKey(W(path).c_str(), view, key.Put());
    if (opened != 0)
        return failure("open", opened);
    std::vector<WCHAR> data(1024, WCHAR());
    uint32_t size = 2048;
    const long read = platform::RegQueryString(key.Get(), W(name).c_str(), data.data(), &size);
    if (bytes != nullptr)
        *bytes = size;
    if (read != 0)
        return failure("query", read);
    return U16(data.data(), size / sizeof(WCHAR) - 1);
}

// Sets an environment variable for one scope and restores its previous state afterwards.
class ScopedEnv {
  public:
    // value null removes the variable for the scope.
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = platform::GetEnv(name);
        m_hadOld = old != nullptr;
        m_old = old != nullptr ? old : "";
        platform::SetEnv(name, value);
    }
    ~ScopedEnv() { platform::SetEnv(m_name.c_str(), m_hadOld ? m_old.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string m_name; // the variable
    bool m_hadOld;      // it was set before
    std::string m_old;  // its value then
};
