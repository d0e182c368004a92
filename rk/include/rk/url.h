// URL form encoding of bytes, and its decoding.
#pragma once

#include "rk/export.h"

// Encodes len bytes of src into dst and terminates it: letters, digits, '-', '_' and '.'
// stay, a blank becomes '+', every other byte "%xx" in lower-case hexadecimal. dst needs
// room for 3 * len + 1 bytes. len below 1 makes dst empty.
RK_API void rka_urlenc(const char* src, char* dst, int len);

// Decodes the NUL-terminated src into dst and terminates it: '+' becomes a blank, '%' and two
// hexadecimal digits (either case) the byte they name, any other character stays. A '%' whose
// two following characters are not both hexadecimal digits is dropped with them; a '%' with
// fewer than two characters after it ends the decoding. dst needs as much room as src.
// Returns the characters and escapes handled, which is the length written when every escape
// was valid (a decoded NUL byte included).
RK_API int rka_urldec(const char* src, char* dst);
