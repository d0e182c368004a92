// Conversions between the host's UTF-8 text, the library's UTF-16 strings and the ANSI code
// page of its trace messages, through the platform's code-page calls. Ill-formed input
// becomes U+FFFD; nothing fails.
#pragma once

#include "platform/wintypes.h"

#include <cstddef>
#include <string>

namespace host {

// UTF-16 text of length units (a lone surrogate becomes U+FFFD) as UTF-8.
std::string Utf16ToUtf8(const WCHAR* text, size_t length);

// UTF-8 text as UTF-16.
std::basic_string<WCHAR> Utf8ToUtf16(const std::string& text);

// Text in the ANSI code page as UTF-8.
std::string AnsiToUtf8(const std::string& text);

} // namespace host
