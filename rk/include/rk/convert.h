// Conversions between narrow text in a code page and wide (UTF-16) text.
//
// A length of 0xFFFFFFFF (kWholeString) stands for "up to the terminating NUL" where a
// function says so. Nothing here throws for bad input, keeps state or logs: invalid or
// unmapped characters are replaced as the platform's conversions replace them.
#pragma once

#include "rk/export.h"

#include "platform/wintypes.h"

#include <string>

namespace RK {

// The toolkit's string class: the standard string of the character type, so callers pass
// std::string and std::basic_string<WCHAR>.
template <typename T> using CStringT = std::basic_string<T>;

// A length meaning "the text up to its terminating NUL".
constexpr unsigned kWholeString = 0xFFFFFFFFu;

// Replaces everything from pos onwards in dst with len characters of src (kWholeString: up
// to its NUL). A dst shorter than pos is padded with NULs first. A null src, a len of 0 or
// an empty src with kWholeString leave dst as it was.
RK_API void _cstring_set(CStringT<char>& dst, unsigned pos, const char* src, unsigned len);
RK_API void _cstring_set(CStringT<WCHAR>& dst, unsigned pos, const WCHAR* src, unsigned len);

// As above, converting src from the system ANSI code page. dst ends right after the
// characters produced (a final NUL of src is not kept); when the conversion fails, dst is
// cut to pos.
RK_API void _cstring_set(CStringT<WCHAR>& dst, unsigned pos, const char* src, unsigned len);

// As above, converting src to the system ANSI code page. Room for two bytes per character
// is made; a text that needs more is cut after the last character that fits whole.
RK_API void _cstring_set(CStringT<char>& dst, unsigned pos, const WCHAR* src, unsigned len);

} // namespace RK

// The three conversions below write at most dstLen units into dst, add no terminator of
// their own and return the number of units written, not counting a NUL that ends the output.
// A srcLen of kWholeString converts src up to and including its NUL. A text that does not
// fit is converted as far as it fits: the rest of dst is cleared and the count before the
// first NUL is returned. 0 for dstLen 0, srcLen 0, a null pointer or an unknown code page.

// Multibyte text in codePage (e.g. 65001 for UTF-8) to wide text.
RK_API unsigned rk_str_convert(int codePage, WCHAR* dst, unsigned dstLen, const char* src,
                               unsigned srcLen);

// Wide text to multibyte text in codePage; a character is never split.
RK_API unsigned rk_str_convert(int codePage, char* dst, unsigned dstLen, const WCHAR* src,
                               unsigned srcLen);

// Multibyte text in fromCodePage to multibyte text in toCodePage, through a temporary wide
// copy; with kWholeString the text up to its NUL is converted and the NUL is not written.
RK_API unsigned rk_str_convert(int toCodePage, char* dst, unsigned dstLen, int fromCodePage,
                               const char* src, unsigned srcLen);
