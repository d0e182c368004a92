// Wide text in tests: WCHAR is char16_t on POSIX and wchar_t on Windows, both UTF-16, so
// tests write u"" literals and widen them unit by unit.
#pragma once

#include "platform/wintypes.h"

#include <string>
#include <string_view>

using WideString = std::basic_string<WCHAR>;

inline WideString W(std::u16string_view text) {
    return WideString(text.begin(), text.end());
}

// The units of text as a u16string, so failures print readably.
inline std::u16string U16(const WCHAR* text, size_t n) {
    return std::u16string(text, text + n);
}

// "<what code>", as tests report a failure among expected texts.
inline std::u16string Failure(const char* what, long code) {
    const std::string text = std::string("<") + what + " " + std::to_string(code) + ">";
    return std::u16string(text.begin(), text.end());
}
