// Splitting a text range into lines.
#include "rk/lines.h"

#include <cstddef>

namespace {

template <typename T>
unsigned SplitLine(RK::CStrRangeT<T> text, unsigned pos, RK::CStrRangeT<T>& line) {
    if (text.end <= text.begin || pos >= static_cast<std::size_t>(text.end - text.begin))
        return 0;
    const auto index = [&text](const T* p) { return static_cast<unsigned>(p - text.begin); };
    const T* start = text.begin + pos;
    for (const T* p = start; p < text.end; ++p) {
        if (*p == T() || *p == T('\r') || *p == T('\n')) {
            line = {start, p};
            if (*p == T())
                return index(p);
            if (*p == T('\r') && p + 1 < text.end && p[1] == T('\n'))
                ++p;
            return index(p + 1);
        }
    }
    line = {start, text.end};
    return index(text.end);
}

} // namespace

unsigned rk_range_spliteline(RK::CStrRangeT<char> text, unsigned pos, RK::CStrRangeT<char>& line) {
    return SplitLine(text, pos, line);
}

unsigned rk_range_spliteline(RK::CStrRangeT<WCHAR> text, unsigned pos,
                             RK::CStrRangeT<WCHAR>& line) {
    return SplitLine(text, pos, line);
}
