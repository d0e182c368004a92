// printf-style formatting of wide (UTF-16) text, the same on every platform.
#pragma once

#include "platform/wintypes.h"

#include <cstdarg>
#include <cstddef>
#include <string>

namespace RK::detail {

// Formats format with args as the header rk/trace.h describes, keeping at most limit units of
// the result.
std::basic_string<WCHAR> FormatWide(const WCHAR* format, va_list args, size_t limit);

} // namespace RK::detail
