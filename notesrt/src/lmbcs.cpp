// LMBCS encoding and decoding.
#include "lmbcs.h"

#include <algorithm>
#include <array>
#include <utility>

namespace notesrt {
namespace {

constexpr unsigned char kGroupControl = 0x0F;
constexpr unsigned char kGroupUnicode = 0x14;
constexpr unsigned char kZeroLowByte = 0xF6;
constexpr char32_t kReplacement = 0xFFFD;

// Controls that stand for themselves.
bool IsPlainControl(unsigned c) {
    return c == 0x00 || c == 0x09 || c == 0x0A || c == 0x0D || c == 0x19;
}

// Code page 850's byte of a character, 0 when it has none.
unsigned char Cp850Byte(char32_t c) {
    using Pair = std::pair<char16_t, unsigned char>;
    static const std::array<Pair, 128> sorted = [] {
        std::array<Pair, 128> pairs{};
        for (unsigned i = 0; i < 128; ++i)
            pairs[i] = Pair(kCp850UpperHalf[i], static_cast<unsigned char>(0x80 + i));
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }();
    if (c > 0xFFFF)
        return 0;
    auto found = std::lower_bound(sorted.begin(), sorted.end(), Pair(static_cast<char16_t>(c), 0));
    return found != sorted.end() && found->first == c ? found->second : 0;
}

// Reads one code point of UTF-8 at position, advancing it; malformed input gives U+FFFD and
// advances past one byte.
char32_t NextUtf8(std::string_view text, size_t& position) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(position);
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    size_t length;
    char32_t value;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++position;
        return kReplacement;
    }
    if (position + length > text.size()) {
        ++position;
        return kReplacement;
    }
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(position + i);
        if ((next & 0xC0) != 0x80) {
            ++position;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++position;
        return kReplacement;
    }
    position += length;
    return value;
}

void AppendUnicodeUnit(std::string& out, char16_t unit) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += static_cast<char>(kGroupUnicode);
    if (low == 0) {
        out += static_cast<char>(kZeroLowByte);
        out += high;
    } else {
        out += high;
        out += low;
    }
}

// Characters no form carries: a unit F6xx reads as the escape of xx00, and ICU reads FFFE
// and FFFF as U+FFFD.
bool HasNoForm(char32_t c) {
    return (c > 0xF600 && c <= 0xF6FF) || c == 0xFFFE || c == 0xFFFF;
}

void AppendLmbcs(std::string& out, char32_t c) {
    if (HasNoForm(c))
        c = kReplacement;
    if (c < 0x80) {
        if (c >= 0x20 || IsPlainControl(static_cast<unsigned>(c))) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(kGroupControl);
            out += static_cast<char>(c + 0x20);
        }
        return;
    }
    if (const unsigned char single = Cp850Byte(c)) {
        out += static_cast<char>(single);
        return;
    }
    if (c < 0x10000) {
        AppendUnicodeUnit(out, static_cast<char16_t>(c));
        return;
    }
    const char32_t offset = c - 0x10000;
    AppendUnicodeUnit(out, static_cast<char16_t>(0xD800 + (offset >> 10)));
    AppendUnicodeUnit(out, static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

// Reads the UTF-16 unit of a 0x14 group at position (which points at the group byte);
// false when the text ends first.
bool ReadUnicodeUnit(std::string_view text, size_t position, char16_t& unit) {
    if (position + 2 >= text.size())
        return false;
    const auto high = static_cast<unsigned char>(text[position + 1]);
    const auto low = static_cast<unsigned char>(text[position + 2]);
    unit = high == kZeroLowByte ? static_cast<char16_t>(low << 8)
                                : static_cast<char16_t>((high << 8) | low);
    return true;
}

// Reads one character of LMBCS at position, advancing it.
char32_t NextLmbcs(std::string_view text, size_t& position) {
    const auto byte = static_cast<unsigned char>(text[position]);
    if (byte >= 0x80) {
        ++position;
        return kCp850UpperHalf[byte - 0x80];
    }
    if (byte >= 0x20 || IsPlainControl(byte) || byte > kGroupUnicode) {
        ++position;
        return byte;
    }
    if (byte == kGroupControl) {
        if (position + 1 >= text.size()) {
            ++position;
            return kReplacement;
        }
        const auto control = static_cast<unsigned char>(text[position + 1]);
        position += 2;
        if (control >= 0x20 && control < 0x40)
            return static_cast<char32_t>(control - 0x20);
        return control >= 0x80 ? control : kReplacement;
    }
    if (byte == kGroupUnicode) {
        char16_t unit;
        if (!ReadUnicodeUnit(text, position, unit)) {
            position = text.size();
            return kReplacement;
        }
        position += 3;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return kReplacement;
        if (unit < 0xD800 || unit > 0xDBFF)
            return unit;
        char16_t low;
        if (position < text.size() && static_cast<unsigned char>(text[position]) == kGroupUnicode &&
            ReadUnicodeUnit(text, position, low) && low >= 0xDC00 && low <= 0xDFFF) {
            position += 3;
            return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
        }
        return kReplacement;
    }
    // Another group: a lead byte of a double-byte group takes two bytes, else one.
    size_t length = 2;
    if (byte >= 0x10 && position + 1 < text.size() &&
        static_cast<unsigned char>(text[position + 1]) >= 0x80)
        length = 3;
    position = std::min(text.size(), position + length);
    return kReplacement;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendLmbcsOfUtf8(std::string& out, std::string_view utf8) {
    size_t position = 0;
    while (position < utf8.size()) {
        // A run of printable ASCII stands for itself.
        size_t end = position;
        while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) >= 0x20 &&
               static_cast<unsigned char>(utf8[end]) < 0x80)
            ++end;
        out.append(utf8, position, end - position);
        position = end;
        if (position < utf8.size())
            AppendLmbcs(out, NextUtf8(utf8, position));
    }
}

std::string Utf8ToLmbcs(std::string_view utf8, size_t limit) {
    std::string out;
    if (limit == kNoLimit) {
        AppendLmbcsOfUtf8(out, utf8);
        return out;
    }
    std::string piece;
    size_t position = 0;
    while (position < utf8.size()) {
        piece.clear();
        AppendLmbcs(piece, NextUtf8(utf8, position));
        if (out.size() + piece.size() > limit)
            break;
        out += piece;
    }
    return out;
}

size_t NextLmbcsCharacter(std::string_view text, size_t position) {
    if (position < text.size())
        NextLmbcs(text, position);
    return position;
}

std::string LmbcsToUtf8(std::string_view lmbcs, size_t limit) {
    std::string out;
    std::string piece;
    size_t position = 0;
    while (position < lmbcs.size()) {
        piece.clear();
        AppendUtf8(piece, NextLmbcs(lmbcs, position));
        if (out.size() + piece.size() > limit)
            break;
        out += piece;
    }
    return out;
}

} // namespace notesrt
