// Parsing numbers out of narrow and wide text. end bounds the text (exclusive); null means
// "up to the terminating NUL". Digits and signs are ASCII in both forms.
#pragma once

#include "rk/export.h"

#include "platform/wintypes.h"

// Parses an integer in base (2 to 36; 0 chooses 16 after "0x", 8 after another leading '0',
// else 10) after blanks, tabs, CR and LF and an optional sign. A "0x" or "0X" prefix is
// skipped in every base. Digits are summed into 32 bits without overflow checks and value
// gets the result as a signed 32-bit number, the same on every platform.
// Returns the position after the last digit; s itself, with value untouched, when there is no
// digit, the base is 1 or above 36, or s is null.
RK_API const char* rk_str_tol(const char* s, const char* end, long& value, int base);
RK_API const WCHAR* rk_str_tol(const WCHAR* s, const WCHAR* end, long& value, int base);

// Parses a decimal number with an optional fraction and exponent after blanks and a sign.
// Returns the position after the number; where the scan stopped, with value untouched, when
// there is no digit; null for a null s. A number whose exponent (after the fraction digits are
// counted) lies above 1024 gives infinity, one below -1021 gives zero, each with its sign.
RK_API const char* rk_str_tod(const char* s, const char* end, double& value);
RK_API const WCHAR* rk_str_tod(const WCHAR* s, const WCHAR* end, double& value);
