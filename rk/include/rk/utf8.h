// Unit-by-unit conversion between UTF-16 and UTF-8, without validation.
//
// Unlike the code-page conversions of rk/convert.h these keep surrogates apart: each UTF-16
// unit is encoded on its own, and a four-byte UTF-8 sequence keeps only the low 16 bits of
// its code point. Neither writes a terminator; a srcLen of 0xFFFFFFFF (RK::kWholeString)
// converts up to the source's NUL.
#pragma once

#include "rk/export.h"

#include "platform/wintypes.h"

// UTF-16 to UTF-8: a unit below 0x80 takes one byte, below 0x800 two and any other three.
// Stops after srcLen units, at the NUL for kWholeString, or before a sequence that does not
// fit into the dstLen bytes left. Returns the bytes written.
RK_API unsigned rk_rstr_convert(unsigned char* dst, unsigned dstLen, const WCHAR* src,
                                unsigned srcLen);

// UTF-8 to UTF-16: a byte below 0x80 is one unit, a lead byte 110xxxxx, 1110xxxx or 11110xxx
// takes 1, 2 or 3 following bytes whatever their value. Stops after srcLen bytes, at the NUL
// for kWholeString (also inside a sequence), before a sequence that would run past srcLen,
// after dstLen units, or at any other lead byte. Returns the units written.
RK_API unsigned rk_rstr_convert(WCHAR* dst, unsigned dstLen, const unsigned char* src,
                                unsigned srcLen);
