// ASCII case changes and bounded copying.
#include "rk/strings.h"

#include "text_walk.h"

namespace {

template <typename T> T* ChangeCase(T* s, T* end, T from, T to) {
    T* p = s;
    for (; !RK::detail::AtEnd<T>(p, end); ++p) {
        if (*p >= from && *p <= static_cast<T>(from + 25))
            *p = static_cast<T>(*p - from + to);
    }
    return p;
}

template <typename T> unsigned CopyN(T* dst, unsigned dstSize, const T* src, unsigned n) {
    if (dstSize == 0)
        return 0;
    unsigned i = 0;
    for (; i < n && i < dstSize - 1 && src[i] != T(); ++i)
        dst[i] = src[i];
    dst[i] = T();
    return i;
}

template <typename T> unsigned AppendN(T* dst, unsigned dstSize, const T* src, unsigned n) {
    if (dstSize == 0)
        return 0;
    unsigned length = 0;
    while (length < dstSize - 1 && dst[length] != T())
        ++length;
    for (unsigned i = 0; i < n && length < dstSize - 1 && src[i] != T(); ++i)
        dst[length++] = src[i];
    dst[length] = T();
    return length;
}

} // namespace

char* rk_astr_upr(char* s, char* end) {
    return ChangeCase(s, end, 'a', 'A');
}

WCHAR* rk_wstr_upr(WCHAR* s, WCHAR* end) {
    return ChangeCase<WCHAR>(s, end, KORVO_W('a'), KORVO_W('A'));
}

char* rk_astr_lwr(char* s, char* end) {
    return ChangeCase(s, end, 'A', 'a');
}

WCHAR* rk_wstr_lwr(WCHAR* s, WCHAR* end) {
    return ChangeCase<WCHAR>(s, end, KORVO_W('A'), KORVO_W('a'));
}

unsigned rk_astr_ncpy(char* dst, unsigned dstSize, const char* src, unsigned n) {
    return CopyN(dst, dstSize, src, n);
}

unsigned rk_wstr_ncpy(WCHAR* dst, unsigned dstSize, const WCHAR* src, unsigned n) {
    return CopyN(dst, dstSize, src, n);
}

unsigned rk_astr_ncat(char* dst, unsigned dstSize, const char* src, unsigned n) {
    return AppendN(dst, dstSize, src, n);
}

unsigned rk_wstr_ncat(WCHAR* dst, unsigned dstSize, const WCHAR* src, unsigned n) {
    return AppendN(dst, dstSize, src, n);
}
