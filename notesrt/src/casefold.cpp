// Case folding for collations.
#include "casefold.h"

#include "lmbcs.h"

namespace notesrt {
namespace {

// Latin Extended-A pairs an upper-case letter with the lower-case one after it; from U+0139
// to U+0148 and from U+0179 to U+017E the upper-case letter is the odd one.
char32_t FoldLatinExtendedA(char32_t c) {
    const bool oddUpper = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    const bool evenUpper = (c >= 0x0100 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177);
    if ((oddUpper && c % 2 == 1) || (evenUpper && c % 2 == 0))
        return c + 1;
    return c == 0x0178 ? 0x00FF : c;
}

char32_t FoldGreek(char32_t c) {
    if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2)
        return c + 0x20;
    switch (c) {
    case 0x0386:
        return 0x03AC;
    case 0x0388:
    case 0x0389:
    case 0x038A:
        return c + 0x25;
    case 0x038C:
        return 0x03CC;
    case 0x038E:
    case 0x038F:
        return c + 0x3F;
    default:
        return c;
    }
}

// Reads the code point of well-formed UTF-8 at position and advances past it.
char32_t NextCodePoint(const std::string& utf8, size_t& position) {
    const auto lead = static_cast<unsigned char>(utf8[position++]);
    size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t value = more == 0 ? lead : lead & (0x3F >> more);
    for (; more > 0 && position < utf8.size(); --more)
        value = (value << 6) | (static_cast<unsigned char>(utf8[position++]) & 0x3F);
    return value;
}

} // namespace

char32_t FoldCase(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7)
        return c + 0x20;
    if (c >= 0x0100 && c <= 0x017F)
        return FoldLatinExtendedA(c);
    if (c >= 0x0386 && c <= 0x03A9)
        return FoldGreek(c);
    if (c >= 0x0410 && c <= 0x042F)
        return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F)
        return c + 0x50;
    if (c >= 0xFF21 && c <= 0xFF3A)
        return c + 0x20;
    return c;
}

std::string FoldedText(std::string_view lmbcs) {
    const std::string utf8 = LmbcsToUtf8(lmbcs);
    std::string folded;
    for (size_t position = 0; position < utf8.size();)
        AppendUtf8(folded, FoldCase(NextCodePoint(utf8, position)));
    return folded;
}

} // namespace notesrt
