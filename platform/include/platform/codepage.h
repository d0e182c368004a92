// Code-page conversion between multibyte and UTF-16 text, with Win32 semantics, and locale
// comparison.
//
// The ANSI code page (kCodePageAnsi) is the system's on Windows; elsewhere it is 1252 unless
// $KORVO_ACP names another code page. 1252, 850 and UTF-8 are built in; other code pages go
// through iconv on POSIX. As on Windows without error flags, invalid or unmapped input
// becomes U+FFFD (or '?' towards a single-byte page) and never fails the call.
#pragma once

#include "platform/wintypes.h"

#include <cstdint>

namespace platform {

constexpr unsigned kCodePageAnsi = 0;     // CP_ACP
constexpr unsigned kCodePageUtf8 = 65001; // CP_UTF8

// The ANSI code page's number (1252 unless configured otherwise on POSIX).
unsigned GetACP();

// MultiByteToWideChar: converts srcLen bytes of src (-1: up to and including its NUL) into
// at most dstLen units. dstLen 0 returns the units needed and writes nothing. Returns the
// units written; 0 on failure with the last error set: kErrorInsufficientBuffer when the
// output did not fit (the units that fit have been written), kErrorInvalidParameter for a
// null pointer, a srcLen of 0, a negative length other than -1 or an unknown code page,
// kErrorNoUnicodeTranslation for invalid input when flags hold MB_ERR_INVALID_CHARS (0x8).
int MultiByteToWideChar(unsigned codePage, uint32_t flags, const char* src, int srcLen, WCHAR* dst,
                        int dstLen);

// WideCharToMultiByte without a default character: the same contract the other way (the
// strict flag is WC_ERR_INVALID_CHARS, 0x80, for UTF-8). A character is never split: output
// stops before a character that does not fit whole.
int WideCharToMultiByte(unsigned codePage, uint32_t flags, const WCHAR* src, int srcLen, char* dst,
                        int dstLen);

// CompareStringW in the user's locale ignoring case: 1 less, 2 equal, 3 greater (the CSTR_
// values), 0 on a null argument. A length of -1 means up to the NUL.
int CompareStringIgnoreCase(const WCHAR* a, int aLen, const WCHAR* b, int bLen);

} // namespace platform
