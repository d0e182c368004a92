// Windows value types with their Win32 layout, on every platform.
//
// On Windows these are the system's own definitions: a file that includes <windows.h> first
// gets them from there and the definitions below stand aside (they use the same include
// guards as the system headers). Elsewhere they are defined here so that the library, the
// host and the toolkit see one set of types everywhere.
#pragma once

#include <cstdint>

#if defined(_WIN32)
typedef wchar_t WCHAR;
#define KORVO_WIDE_LITERAL(text) L##text
#else
// Wide text is UTF-16 everywhere, so lengths and surrogates behave as on Windows.
typedef char16_t WCHAR;
#define KORVO_WIDE_LITERAL(text) u##text
#endif
// A WCHAR string literal: KORVO_W("text").
#define KORVO_W(text) KORVO_WIDE_LITERAL(text)

// Automation string: points at the text; a 32-bit byte length stands in front of it and a
// NUL after it. Allocated and freed only through the platform's automation-string calls.
typedef WCHAR* BSTR;

#if !defined(_FILETIME_)
#define _FILETIME_
// 100-nanosecond intervals since 1601-01-01 00:00 UTC.
typedef struct _FILETIME {
    uint32_t dwLowDateTime;  // low 32 bits of the count
    uint32_t dwHighDateTime; // high 32 bits of the count
} FILETIME;
#endif

#if !defined(_MINWINBASE_) && !defined(_SYSTEMTIME_)
#define _SYSTEMTIME_
// A calendar time broken into fields.
typedef struct _SYSTEMTIME {
    uint16_t wYear;         // 1601 to 30827
    uint16_t wMonth;        // 1 to 12
    uint16_t wDayOfWeek;    // 0 (Sunday) to 6
    uint16_t wDay;          // 1 to 31
    uint16_t wHour;         // 0 to 23
    uint16_t wMinute;       // 0 to 59
    uint16_t wSecond;       // 0 to 59
    uint16_t wMilliseconds; // 0 to 999
} SYSTEMTIME;
#endif
