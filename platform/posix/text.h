// Text as the POSIX system wants it: UTF-8 from wide or ANSI text, and back.
#pragma once

#include "utf16.h"

#include <string>
#include <string_view>

namespace platform::detail {

// UTF-8 of n units (lone surrogates become U+FFFD).
std::string WideToUtf8(const WCHAR* text, size_t n);
// UTF-8 of NUL-terminated wide text; empty for null.
std::string WideToUtf8(const WCHAR* text);

// UTF-16 of UTF-8 text (invalid sequences become U+FFFD).
WideString Utf8ToWide(std::string_view text);

// UTF-8 of NUL-terminated text in the ANSI code page; empty for null.
std::string AnsiToUtf8(const char* text);

// The ANSI code page form of UTF-8 text (characters the page lacks become '?').
std::string Utf8ToAnsi(std::string_view text);

// Hands text to a caller's buffer of len characters as GetTempPath and GetCurrentDirectory
// do: the length written (without the NUL) when text and its NUL fit, else the room needed
// (NUL included) with buf untouched.
template <typename Char>
uint32_t CopyToBuffer(const std::basic_string<Char>& text, uint32_t len, Char* buf) {
    const auto needed = static_cast<uint32_t>(text.size() + 1);
    if (buf == nullptr || len < needed)
        return needed;
    std::char_traits<Char>::copy(buf, text.c_str(), needed);
    return needed - 1;
}

} // namespace platform::detail
