// UTF-16 code unit classes shared by the converters.
#pragma once

#include "platform/wintypes.h"

#include <string>

namespace platform::detail {

using WideString = std::basic_string<WCHAR>;

constexpr char32_t kReplacementCharacter = 0xFFFD; // stands for invalid or unmapped input

inline bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// True when src[i] and src[i + 1] (i + 1 < n) form one surrogate pair.
inline bool IsPairAt(const WCHAR* src, size_t n, size_t i) {
    return i + 1 < n && IsHighSurrogate(src[i]) && IsLowSurrogate(src[i + 1]);
}

// The code point of the pair high, low.
inline char32_t CombineSurrogates(char32_t high, char32_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Appends code point cp (at most 0x10FFFF) as one or two units.
inline void AppendCodePoint(char32_t cp, WideString* out) {
    if (cp < 0x10000) {
        out->push_back(static_cast<WCHAR>(cp));
        return;
    }
    cp -= 0x10000;
    out->push_back(static_cast<WCHAR>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<WCHAR>(0xDC00 + (cp & 0x3FF)));
}

} // namespace platform::detail
