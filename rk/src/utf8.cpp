// UTF-16 to UTF-8 and back, one unit or sequence at a time.
#include "rk/utf8.h"

#include "rk/convert.h"

#include <cstdint>

unsigned rk_rstr_convert(unsigned char* dst, unsigned dstLen, const WCHAR* src, unsigned srcLen) {
    if (dstLen == 0)
        return 0;
    const bool whole = srcLen == RK::kWholeString;
    unsigned written = 0;
    for (unsigned i = 0; i < srcLen; ++i) {
        const auto unit = static_cast<uint16_t>(src[i]);
        if (whole && unit == 0)
            break;
        const unsigned size = unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        if (size > dstLen - written)
            break;
        unsigned char* out = dst + written;
        if (size == 1) {
            out[0] = static_cast<unsigned char>(unit);
        } else if (size == 2) {
            out[0] = static_cast<unsigned char>(0xC0 | (unit >> 6));
            out[1] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
        } else {
            out[0] = static_cast<unsigned char>(0xE0 | (unit >> 12));
            out[1] = static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F));
            out[2] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
        }
        written += size;
    }
    return written;
}

unsigned rk_rstr_convert(WCHAR* dst, unsigned dstLen, const unsigned char* src, unsigned srcLen) {
    const bool whole = srcLen == RK::kWholeString;
    unsigned written = 0;
    unsigned i = 0;
    while (written < dstLen && i < srcLen) {
        const unsigned char lead = src[i];
        if (whole && lead == 0)
            break;
        unsigned follow; // continuation bytes after lead
        uint32_t value;  // the code point being built
        if (lead < 0x80) {
            follow = 0;
            value = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            follow = 1;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            follow = 2;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            follow = 3;
            value = lead & 0x07;
        } else {
            break;
        }
        if (follow >= srcLen - i)
            break;
        unsigned k = 1;
        for (; k <= follow && !(whole && src[i + k] == 0); ++k)
            value = (value << 6) | (src[i + k] & 0x3Fu);
        if (k <= follow)
            break;
        dst[written++] = static_cast<WCHAR>(static_cast<uint16_t>(value));
        i += 1 + follow;
    }
    return written;
}
