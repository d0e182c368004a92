// Case-insensitive searches over a start and an end pointer.
#include "rk/strings.h"

#include "case_fold.h"
#include "text_walk.h"

#include "platform/codepage.h"

#include <string>

namespace {

using RK::detail::AtEnd;
using RK::detail::Fold;
using WideText = std::basic_string<WCHAR>;

template <typename T> const T* FindChar(const T* s, const T* end, T c) {
    const T target = Fold(c);
    for (const T* p = s; !AtEnd(p, end); ++p) {
        if (Fold(*p) == target)
            return p;
    }
    return nullptr;
}

template <typename T> const T* FindLastChar(const T* s, const T* end, T c) {
    const T target = Fold(c);
    const T* found = nullptr;
    for (const T* p = s; !AtEnd(p, end); ++p) {
        if (Fold(*p) == target)
            found = p;
    }
    return found;
}

template <typename T> const T* FindText(const T* s, const T* end, const T* sub) {
    if (end != nullptr && s >= end)
        return nullptr;
    if (sub[0] == T())
        return s;
    const T first = Fold(sub[0]);
    for (const T* p = s; !AtEnd(p, end); ++p) {
        if (Fold(*p) != first)
            continue;
        for (unsigned k = 1;; ++k) {
            if (sub[k] == T())
                return p;
            // Once the text ends inside a candidate, no later candidate can match either.
            if (AtEnd(p + k, end))
                return nullptr;
            if (Fold(p[k]) != Fold(sub[k]))
                break;
        }
    }
    return nullptr;
}

// The wide form of length bytes of ANSI text.
WideText Widen(const char* text, unsigned length) {
    WideText wide(length, WCHAR());
    const int units =
        platform::MultiByteToWideChar(platform::kCodePageAnsi, 0, text, static_cast<int>(length),
                                      wide.data(), static_cast<int>(length));
    wide.resize(units > 0 ? static_cast<size_t>(units) : 0);
    return wide;
}

bool SameIgnoringCase(const WCHAR* a, const WCHAR* sub, unsigned length) {
    return platform::CompareStringIgnoreCase(a, static_cast<int>(length), sub,
                                             static_cast<int>(length)) == 2;
}

bool SameIgnoringCase(const char* a, const char* sub, unsigned length) {
    const WideText wideA = Widen(a, length);
    const WideText wideSub = Widen(sub, length);
    return platform::CompareStringIgnoreCase(wideA.c_str(), static_cast<int>(wideA.size()),
                                             wideSub.c_str(),
                                             static_cast<int>(wideSub.size())) == 2;
}

template <typename T> const T* FindLastText(const T* s, const T* end, const T* sub) {
    if (end != nullptr && s >= end)
        return nullptr;
    const T* last = end != nullptr ? end : s + RK::detail::Length(s);
    const unsigned length = RK::detail::Length(sub);
    if (static_cast<size_t>(last - s) < length)
        return nullptr;
    if (length == 0)
        return last;
    for (const T* p = last - length;; --p) {
        if (SameIgnoringCase(p, sub, length))
            return p;
        if (p == s)
            return nullptr;
    }
}

} // namespace

const char* rk_astr_chri(const char* s, const char* end, char c) {
    return FindChar(s, end, c);
}

const WCHAR* rk_wstr_chri(const WCHAR* s, const WCHAR* end, WCHAR c) {
    return FindChar(s, end, c);
}

const char* rk_astr_rchri(const char* s, const char* end, char c) {
    return FindLastChar(s, end, c);
}

const WCHAR* rk_wstr_rchri(const WCHAR* s, const WCHAR* end, WCHAR c) {
    return FindLastChar(s, end, c);
}

const char* rk_astr_stri(const char* s, const char* end, const char* sub) {
    return FindText(s, end, sub);
}

const WCHAR* rk_wstr_stri(const WCHAR* s, const WCHAR* end, const WCHAR* sub) {
    return FindText(s, end, sub);
}

const char* rk_astr_rstri(const char* s, const char* end, const char* sub) {
    return FindLastText(s, end, sub);
}

const WCHAR* rk_wstr_rstri(const WCHAR* s, const WCHAR* end, const WCHAR* sub) {
    return FindLastText(s, end, sub);
}
