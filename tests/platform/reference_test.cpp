// The built-in conversions against the system's references: glibc iconv for the single-byte
// pages, ICU for UTF-8 and for case mapping.
#include "case_fold.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::u16string Widen(unsigned codePage, std::string bytes) {
    std::u16string out(bytes.size() * 2 + 2, u'\0');
    out.resize(size_t(platform::MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()),
                                                    out.data(), int(out.size()))));
    return out;
}

std::string Narrow(unsigned codePage, std::u16string text) {
    std::string out(text.size() * 4 + 4, '\0');
    out.resize(size_t(platform::WideCharToMultiByte(codePage, 0, text.data(), int(text.size()),
                                                    out.data(), int(out.size()))));
    return out;
}

// Counts differences and describes the first few.
struct Mismatches {
    int count = 0;            // differences seen
    std::ostringstream first; // the first ones, in hexadecimal

    template <typename In, typename Out>
    void Check(const In& input, const Out& ours, const Out& ref) {
        if (ours != ref && ++count <= 8)
            first << Hex(input) << ": ours" << Hex(ours) << ", reference" << Hex(ref) << "\n";
    }
    template <typename Text> static std::string Hex(const Text& text) {
        std::ostringstream out;
        for (auto unit : text)
            out << ' ' << std::hex << (unsigned(unit) & (sizeof unit == 1 ? 0xFFu : 0xFFFFu));
        return out.str();
    }
};

// glibc's conversion of one input, or fallback when it refuses it.
std::string Iconv(const char* to, const char* from, std::string in, const std::string& fallback) {
    iconv_t cd = iconv_open(to, from);
    char buffer[16];
    char* inPtr = in.data();
    char* outPtr = buffer;
    size_t inLeft = in.size();
    size_t outLeft = sizeof buffer;
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
    iconv_close(cd);
    return ok ? std::string(buffer, size_t(outPtr - buffer)) : fallback;
}

std::string Utf16Le(unsigned unit) {
    return {char(unit & 0xFF), char(unit >> 8)};
}

// 1252 leaves these bytes undefined; Windows maps them to the C1 controls of the same value.
bool UndefinedIn1252(unsigned code) {
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

TEST(SingleBytePageTest, EveryByteAndBmpCharacterConvertsAsIconvDoes) {
    struct Page {
        unsigned codePage;     // ours
        const char* iconvName; // iconv's name for it
    };
    for (const Page& page : {Page{1252, "CP1252"}, Page{850, "CP850"}}) {
        SCOPED_TRACE(page.iconvName);
        Mismatches widen;
        for (unsigned byte = 0; byte < 256; ++byte) {
            const std::string own =
                page.codePage == 1252 && UndefinedIn1252(byte) ? Utf16Le(byte) : "";
            const std::string le =
                Iconv("UTF-16LE", page.iconvName, std::string(1, char(byte)), own);
            widen.Check(std::u16string(1, char16_t(byte)),
                        Widen(page.codePage, std::string(1, char(byte))),
                        std::u16string(1, char16_t(uint8_t(le[0]) | uint8_t(le[1]) << 8)));
        }
        EXPECT_EQ(widen.count, 0) << widen.first.str();
        Mismatches narrow;
        for (unsigned unit = 1; unit < 0x10000; ++unit) {
            if (unit >= 0xD800 && unit <= 0xDFFF)
                continue;
            const std::string own =
                page.codePage == 1252 && UndefinedIn1252(unit) ? std::string(1, char(unit)) : "?";
            narrow.Check(Utf16Le(unit), Narrow(page.codePage, std::u16string(1, char16_t(unit))),
                         Iconv(page.iconvName, "UTF-16LE", Utf16Le(unit), own));
        }
        EXPECT_EQ(narrow.count, 0) << narrow.first.str();
    }
}

// ICU's UTF-8 converter substitutes U+FFFD per maximal invalid subpart, both ways.
TEST(Utf8ReferenceTest, ConvertsAsIcuDoes) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* icu = ucnv_open("UTF-8", &status);
    ASSERT_TRUE(U_SUCCESS(status));
    // Every one- and two-byte string, four-byte strings of boundary bytes, random strings.
    std::vector<std::string> inputs;
    for (unsigned ab = 0; ab < 0x10000; ++ab) {
        inputs.push_back({char(ab >> 8), char(ab)});
        if (ab < 0x100)
            inputs.emplace_back(1, char(ab));
    }
    const char edges[] =
        "\x00\x41\x7F\x80\x8F\x90\x9F\xA0\xBF\xC0\xC1\xC2\xDF\xE0\xED\xEF\xF0\xF4\xF5\xFF";
    for (unsigned i = 0; i < 20 * 20 * 20 * 20; ++i)
        inputs.push_back({edges[i % 20], edges[i / 20 % 20], edges[i / 400 % 20], edges[i / 8000]});
    std::mt19937 rng(20240229);
    for (int i = 0; i < 200000; ++i) {
        std::string s(1 + rng() % 12, '\0');
        for (char& c : s)
            c = char(rng() % 2 ? 0x80 + rng() % 0x40 : rng() % 256);
        inputs.push_back(s);
    }
    Mismatches decode;
    for (const std::string& input : inputs) {
        std::u16string ref(input.size() * 2 + 2, u'\0');
        ref.resize(size_t(ucnv_toUChars(icu, ref.data(), int32_t(ref.size()), input.data(),
                                        int32_t(input.size()), &status)));
        decode.Check(input, Widen(platform::kCodePageUtf8, input), ref);
    }
    EXPECT_EQ(decode.count, 0) << decode.first.str();
    // Every unit alone (lone surrogates included), every surrogate pair, pairs reversed.
    Mismatches encode;
    for (unsigned u = 1; u < 0x110000; ++u) {
        const std::u16string text = u < 0x10000
                                        ? std::u16string{char16_t(u), u'x'}
                                        : std::u16string{char16_t(0xD800 + ((u - 0x10000) >> 10)),
                                                         char16_t(0xDC00 + (u & 0x3FF))};
        std::string ref(12, '\0');
        ref.resize(size_t(
            ucnv_fromUChars(icu, ref.data(), 12, text.data(), int32_t(text.size()), &status)));
        encode.Check(text, Narrow(platform::kCodePageUtf8, text), ref);
    }
    EXPECT_EQ(Narrow(platform::kCodePageUtf8, u"\xDC00\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(encode.count, 0) << encode.first.str();
    ucnv_close(icu);
}

// Case folding agrees with ICU's simple lower-case mapping in the blocks it covers, and never
// folds a character to anything else; U+0130 is left alone, as Windows compares it.
TEST(CaseFoldReferenceTest, MatchesIcuLowerCase) {
    Mismatches fold;
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const bool covered =
            (unit <= 0x017F && unit != 0x0130) || (unit >= 0x0370 && unit <= 0x052F) ||
            (unit >= 0x1E00 && unit <= 0x1EFF) || (unit >= 0xFF00 && unit <= 0xFFEF);
        const std::u16string ours(1, char16_t(platform::detail::FoldCase(WCHAR(unit))));
        if (ours[0] != unit || covered)
            fold.Check(std::u16string(1, char16_t(unit)), ours,
                       std::u16string(1, char16_t(u_tolower(UChar32(unit)))));
    }
    EXPECT_EQ(fold.count, 0) << fold.first.str();
}

} // namespace
