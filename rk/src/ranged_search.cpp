// Searches over a start and a length, returning indexes.
#include "rk/strings.h"

#include "case_fold.h"

namespace {

using RK::detail::Fold;

template <typename T> unsigned FindChar(const T* s, unsigned n, T c, bool fold) {
    for (unsigned i = 0; i < n; ++i) {
        if (s[i] == T())
            return n;
        if ((fold ? Fold(s[i]) : s[i]) == c)
            return i;
    }
    return n;
}

template <typename T>
unsigned FindText(const T* s, unsigned n, const T* sub, unsigned m, bool fold) {
    if (sub == nullptr || sub[0] == T() || m == 0)
        return 0;
    const auto same = [fold](T a, T b) { return fold ? Fold(a) == Fold(b) : a == b; };
    const T first = fold ? Fold(sub[0]) : sub[0];
    for (unsigned p = 0; p < n; ++p) {
        p += FindChar(s + p, n - p, first, fold);
        if (p >= n)
            return n;
        for (unsigned k = 1;; ++k) {
            if (k == m || sub[k] == T())
                return p;
            // Once the text ends inside a candidate, no later candidate can match either.
            if (p + k == n || s[p + k] == T())
                return n;
            if (!same(sub[k], s[p + k]))
                break;
        }
    }
    return n;
}

} // namespace

unsigned rk_rstr_chr(const char* s, unsigned n, char c) {
    return FindChar(s, n, c, false);
}

unsigned rk_rstr_chr(const WCHAR* s, unsigned n, WCHAR c) {
    return FindChar(s, n, c, false);
}

unsigned rk_rstr_chri(const char* s, unsigned n, char c) {
    return FindChar(s, n, c, true);
}

unsigned rk_rstr_chri(const WCHAR* s, unsigned n, WCHAR c) {
    return FindChar(s, n, c, true);
}

unsigned rk_rstr_str(const char* s, unsigned n, const char* sub, unsigned m) {
    return FindText(s, n, sub, m, false);
}

unsigned rk_rstr_str(const WCHAR* s, unsigned n, const WCHAR* sub, unsigned m) {
    return FindText(s, n, sub, m, false);
}

unsigned rk_rstr_stri(const char* s, unsigned n, const char* sub, unsigned m) {
    return FindText(s, n, sub, m, true);
}

unsigned rk_rstr_stri(const WCHAR* s, unsigned n, const WCHAR* sub, unsigned m) {
    return FindText(s, n, sub, m, true);
}
