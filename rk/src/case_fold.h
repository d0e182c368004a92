// Folding of single characters for the case-insensitive searches and matches.
#pragma once

#include "platform/wintypes.h"

#include <cctype>

namespace RK::detail {

// The simple lower-case mapping of a UTF-16 unit (Basic Multilingual Plane; surrogates and
// units without a mapping are returned unchanged).
WCHAR FoldWide(WCHAR unit);

// A narrow character folded with the C runtime's tolower in the current locale.
inline char Fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

inline WCHAR Fold(WCHAR c) {
    return FoldWide(c);
}

} // namespace RK::detail
