#include "utf8_codec.h"

namespace platform::detail {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF; // no character: an invalid subpart was consumed

// Reads one character at src[*pos] and moves *pos past it. An invalid sequence is consumed up
// to (not including) the first byte that cannot continue it, and gives kInvalid.
char32_t NextCodePoint(std::string_view src, size_t* pos) {
    const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(src[i]); };
    const unsigned lead = byteAt((*pos)++);
    if (lead < 0x80)
        return lead;
    int trail;            // continuation bytes the lead announces
    char32_t cp;          // the value collected so far
    unsigned low = 0x80;  // the range the first continuation byte must lie in, which
    unsigned high = 0xBF; // excludes overlongs, surrogates and values above 0x10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return kInvalid;
    }
    for (int i = 0; i < trail; ++i) {
        if (*pos >= src.size())
            return kInvalid;
        const unsigned next = byteAt(*pos);
        if (next < low || next > high)
            return kInvalid;
        cp = (cp << 6) | (next & 0x3F);
        ++*pos;
        low = 0x80;
        high = 0xBF;
    }
    return cp;
}

void AppendUtf8(char32_t cp, std::string* out) {
    if (cp < 0x80) {
        out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

bool DecodeUtf8(std::string_view src, bool strict, WideString* out) {
    size_t pos = 0;
    while (pos < src.size()) {
        const char32_t cp = NextCodePoint(src, &pos);
        if (cp == kInvalid && strict)
            return false;
        AppendCodePoint(cp == kInvalid ? kReplacementCharacter : cp, out);
    }
    return true;
}

bool EncodeUtf8(const WCHAR* src, size_t n, bool strict, std::string* out,
                std::vector<size_t>* ends) {
    for (size_t i = 0; i < n; ++i) {
        char32_t cp = src[i];
        if (IsPairAt(src, n, i)) {
            cp = CombineSurrogates(src[i], src[i + 1]);
            ++i;
        } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp)) {
            if (strict)
                return false;
            cp = kReplacementCharacter;
        }
        AppendUtf8(cp, out);
        if (ends != nullptr)
            ends->push_back(out->size());
    }
    return true;
}

} // namespace platform::detail
