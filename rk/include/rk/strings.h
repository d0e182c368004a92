// Searching, case changing and bounded copying of narrow and wide (UTF-16) text.
//
// Two shapes of search:
// - ranged searches (rk_rstr_*) take a start and a length n in characters and return an
//   index; they also stop at a NUL, and return n when nothing is found;
// - pointer searches (rk_astr_* narrow, rk_wstr_* wide) take a start and an end pointer
//   (exclusive; null means "up to the terminating NUL") and return a pointer into the text,
//   or null when nothing is found. A start at or past end finds nothing.
//
// Folding ignores case one character at a time: narrow characters with the C runtime's
// tolower in the current locale, wide units with the simple lower-case mapping of Unicode's
// Basic Multilingual Plane (surrogates are left alone). None of these functions keeps state,
// allocates or fails beyond its result; pointer arguments must not be null unless said so.
#pragma once

#include "rk/export.h"

#include "platform/wintypes.h"

// Index of the first c among the first n characters of s; n when a NUL comes first or c is
// not there.
RK_API unsigned rk_rstr_chr(const char* s, unsigned n, char c);
RK_API unsigned rk_rstr_chr(const WCHAR* s, unsigned n, WCHAR c);

// As rk_rstr_chr, comparing each character of s folded with c as given: pass c in lower case.
RK_API unsigned rk_rstr_chri(const char* s, unsigned n, char c);
RK_API unsigned rk_rstr_chri(const WCHAR* s, unsigned n, WCHAR c);

// Index of the first occurrence of the first m characters of sub (fewer when sub ends before)
// within the first n characters of s; n when there is none. A null or empty sub, or m 0,
// gives 0.
RK_API unsigned rk_rstr_str(const char* s, unsigned n, const char* sub, unsigned m);
RK_API unsigned rk_rstr_str(const WCHAR* s, unsigned n, const WCHAR* sub, unsigned m);

// As rk_rstr_str with both texts folded.
RK_API unsigned rk_rstr_stri(const char* s, unsigned n, const char* sub, unsigned m);
RK_API unsigned rk_rstr_stri(const WCHAR* s, unsigned n, const WCHAR* sub, unsigned m);

// The first character of s before end whose folded form equals c folded; null for none.
RK_API const char* rk_astr_chri(const char* s, const char* end, char c);
RK_API const WCHAR* rk_wstr_chri(const WCHAR* s, const WCHAR* end, WCHAR c);

// The last such character; null for none.
RK_API const char* rk_astr_rchri(const char* s, const char* end, char c);
RK_API const WCHAR* rk_wstr_rchri(const WCHAR* s, const WCHAR* end, WCHAR c);

// The first place before end where all of sub matches, folded. An empty sub gives s; null when
// the text ends (or end is reached) while sub still has characters left.
RK_API const char* rk_astr_stri(const char* s, const char* end, const char* sub);
RK_API const WCHAR* rk_wstr_stri(const WCHAR* s, const WCHAR* end, const WCHAR* sub);

// The last place where sub ends at or before end (the terminator of s when end is null),
// compared with the user's locale ignoring case; null for none. Narrow texts are compared in
// their wide form from the system ANSI code page.
RK_API const char* rk_astr_rstri(const char* s, const char* end, const char* sub);
RK_API const WCHAR* rk_wstr_rstri(const WCHAR* s, const WCHAR* end, const WCHAR* sub);

// Change the ASCII letters of s, up to its NUL or end, to upper (upr) or lower case (lwr); any
// other character stays. Return where the walk stopped: the NUL, end, or s itself when empty.
RK_API char* rk_astr_upr(char* s, char* end);
RK_API WCHAR* rk_wstr_upr(WCHAR* s, WCHAR* end);
RK_API char* rk_astr_lwr(char* s, char* end);
RK_API WCHAR* rk_wstr_lwr(WCHAR* s, WCHAR* end);

// Copies src into dst (dstSize characters of room) up to its NUL, n characters or
// dstSize - 1 characters, whichever comes first, and terminates dst. Returns the characters
// copied. dstSize 0 writes nothing; n 0 makes dst empty.
RK_API unsigned rk_astr_ncpy(char* dst, unsigned dstSize, const char* src, unsigned n);
RK_API unsigned rk_wstr_ncpy(WCHAR* dst, unsigned dstSize, const WCHAR* src, unsigned n);

// Appends src to dst (dstSize characters of room, its text counted at most to dstSize - 1) up
// to src's NUL, n characters or a total of dstSize - 1 characters, and terminates dst. Returns
// the length of the result; dstSize 0 writes nothing and gives 0.
RK_API unsigned rk_astr_ncat(char* dst, unsigned dstSize, const char* src, unsigned n);
RK_API unsigned rk_wstr_ncat(WCHAR* dst, unsigned dstSize, const WCHAR* src, unsigned n);
