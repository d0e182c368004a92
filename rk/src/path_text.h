// Path pieces shared by the file-system helpers.
#pragma once

#include "platform/fs.h"
#include "platform/wintypes.h"

#include <string>

namespace RK::detail {

using PathText = std::basic_string<WCHAR>;

// True for either directory separator.
inline bool IsSeparator(WCHAR c) {
    return c == WCHAR('\\') || c == WCHAR('/');
}

// The separator the platform writes.
inline WCHAR Separator() {
    return static_cast<WCHAR>(platform::PathSeparator());
}

} // namespace RK::detail
