// Wildcard matching of a text against a list of patterns.
#pragma once

#include "rk/export.h"

#include "platform/wintypes.h"

// 1 when text matches, as a whole, one of the patterns in patterns (separated by the character
// sep), else 0. In a pattern '*' matches any run of characters, the empty one included, '?'
// matches any one character and every other character matches itself. Without caseSensitive
// both sides are folded as the searches of rk/strings.h fold them; sep itself never is.
RK_API int rk_astr_match(const char* text, const char* patterns, char sep, bool caseSensitive);
RK_API int rk_wstr_match(const WCHAR* text, const WCHAR* patterns, WCHAR sep, bool caseSensitive);
