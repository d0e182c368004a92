// Text ranges and splitting them into lines.
#pragma once

#include "rk/export.h"

#include "platform/wintypes.h"

namespace RK {

// A stretch of text given by two pointers; passed by value.
template <typename T> struct CStrRangeT {
    const T* begin; // the first character
    const T* end;   // just past the last character
};

} // namespace RK

// Takes the line that starts at index pos of text into line. A line ends before CR LF, a lone
// CR, a LF, a NUL or the end of text. Returns the index where the next line starts: after the
// line end, at the NUL (so the next call returns the same index), or the length of text at its
// end. pos at or past the end gives 0 and leaves line alone. Callers stop when the result is 0
// or does not advance.
RK_API unsigned rk_range_spliteline(RK::CStrRangeT<char> text, unsigned pos,
                                    RK::CStrRangeT<char>& line);
RK_API unsigned rk_range_spliteline(RK::CStrRangeT<WCHAR> text, unsigned pos,
                                    RK::CStrRangeT<WCHAR>& line);
