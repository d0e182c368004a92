// Small helpers on narrow NUL-terminated text: indexes, pieces cut into fixed buffers, exact
// comparison, stepping and searching LMBCS text a character at a time, UTF-8 decoding and the
// text form of a system time. Rejected arguments are logged under the helper's name and give
// 0, false or no change; nothing throws.
#pragma once

#include "KorvoLotusC.h"

#include "platform/wintypes.h"

#include <cstddef>
#include <string>

namespace StringUtil {

// Index of the first ch in str; strlen(str) when there is none (so for ch NUL). 0 for a
// null str.
unsigned GetStringIndex(const char* str, char ch);

// Index of pos within str; strlen(str) when pos is not one of str's characters. 0 for a
// null str.
unsigned GetStringIndex(const char* str, const char* pos);

// Copies the characters from begin up to end (exclusive) into out, which has room for
// maxLen characters including the terminator. Returns the count copied when it is below
// maxLen; otherwise out holds the first maxLen - 1 characters and maxLen is returned, so a
// result equal to maxLen means the piece was cut. 0 for null arguments or a maxLen of 0.
unsigned GetSubString(const char* begin, const char* end, unsigned maxLen, char* out);

// As above for the characters of str before the first delim (the whole of str when it has
// none, or when delim is NUL).
unsigned GetSubString(const char* str, char delim, unsigned maxLen, char* out);

// Index just past the LMBCS character that starts at position (below length) of text's length
// bytes: 0x14 and the two bytes of a UTF-16 unit (both units of a surrogate pair count as one
// character), 0x0F and one byte, a group byte 0x10-0x13 and two bytes when the next one is
// 0x80 or above, any other group byte 0x01-0x13 and one byte; every other byte alone (NUL,
// HT, LF, CR, 0x19, 0x15-0x1F, 0x20 and above). A character cut off by the end of the text
// ends there, so the result is never above length.
size_t NextLmbcsCharacter(const char* text, size_t length, size_t position);

// Index of the first occurrence of word at or after from (a character boundary) in the LMBCS
// text of length bytes that begins where a character begins, so bytes inside a multi-byte
// character never match; length when there is none, or when text or word is null or word is
// empty.
size_t FindInLmbcs(const char* text, size_t length, size_t from, const char* word);

// text (NUL-terminated, in the ANSI code page) as a wide string; empty for null.
CString WidenAnsi(const char* text);

// text narrowed to the ANSI code page, e.g. for the log.
std::string NarrowAnsi(const CString& text);

// True when both strings exist and have the same bytes.
bool IsSameString(const char* a, const char* b);

// Replaces out with the UTF-16 decoding of the UTF-8 text; a null text leaves out as it was.
// Invalid sequences become U+FFFD.
void Utf8ToWide(const char* text, CString& out);

// "MM/DD/YYYY hh:mm:ss" for the fields of t.
CString FormatSystemTime(const SYSTEMTIME& t);

// Appends value in decimal, zero-padded to width characters with the sign counted, as
// printf's "%0*d" writes it (width 0: as "%d").
void AppendPadded(CString& out, int32_t value, int width);

} // namespace StringUtil
