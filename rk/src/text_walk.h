// Small helpers shared by the narrow and wide forms of the text functions.
#pragma once

#include "platform/wintypes.h"

namespace RK::detail {

// True when a walk over text bounded by end (null: by the terminator) must stop at p.
template <typename T> bool AtEnd(const T* p, const T* end) {
    return (end != nullptr && p >= end) || *p == T();
}

// True while p lies before end (always when end is null).
template <typename T> bool Before(const T* p, const T* end) {
    return end == nullptr || p < end;
}

// The length of a NUL-terminated text.
template <typename T> unsigned Length(const T* text) {
    unsigned n = 0;
    while (text[n] != T())
        ++n;
    return n;
}

} // namespace RK::detail
