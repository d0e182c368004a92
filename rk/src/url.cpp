// URL form encoding and decoding.
#include "rk/url.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool StaysAsIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

// The value of a hexadecimal digit of either case, or -1.
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void rka_urlenc(const char* src, char* dst, int len) {
    for (int i = 0; i < len; ++i) {
        const auto c = static_cast<unsigned char>(src[i]);
        if (StaysAsIs(c)) {
            *dst++ = static_cast<char>(c);
        } else if (c == ' ') {
            *dst++ = '+';
        } else {
            *dst++ = '%';
            *dst++ = kHexDigits[c >> 4];
            *dst++ = kHexDigits[c & 0xF];
        }
    }
    *dst = '\0';
}

int rka_urldec(const char* src, char* dst) {
    int handled = 0;
    for (; *src != '\0'; ++handled) {
        if (*src == '+') {
            *dst++ = ' ';
            ++src;
        } else if (*src != '%') {
            *dst++ = *src++;
        } else {
            if (src[1] == '\0' || src[2] == '\0')
                break;
            const int high = HexValue(src[1]);
            const int low = HexValue(src[2]);
            if (high >= 0 && low >= 0)
                *dst++ = static_cast<char>(high * 16 + low);
            src += 3;
        }
    }
    *dst = '\0';
    return handled;
}
