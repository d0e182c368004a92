// The toolkit against independent references of the C library and ICU: wildcard matching
// against fnmatch, decimal parsing against strtod, the UTF-8 conversions and wide case folding
// against ICU; and UTF-8 as the ANSI code page (set through the environment). Matching and
// decimals run narrow only: the fuzz targets' replays and the strings suite hold the wide forms
// to the narrow ones.
#include "toolkit_support.h"

#include "rk/convert.h"
#include "rk/match.h"
#include "rk/numbers.h"
#include "rk/strings.h"
#include "rk/utf8.h"

#include <fnmatch.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

namespace {

std::string RandomText(std::mt19937& random, const std::string& alphabet, size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text)
        c = alphabet[random() % alphabet.size()];
    return text;
}

// Patterns without brackets, with and without case, one or two patterns per list.
TEST(MatchAgainstFnmatch, RandomPatternsAndTexts) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomText(random, "abA.", 7);
        const std::string first = RandomText(random, "abA.*?", 6);
        const std::string second = RandomText(random, "abB*?", 4);
        for (const bool caseSensitive : {true, false}) {
            const int flags = FNM_NOESCAPE | (caseSensitive ? 0 : FNM_CASEFOLD);
            const bool one = fnmatch(first.c_str(), text.c_str(), flags) == 0;
            const bool two = fnmatch(second.c_str(), text.c_str(), flags) == 0;
            const std::string list = first + ";" + second;
            ASSERT_EQ(rk_astr_match(text.c_str(), first.c_str(), ';', caseSensitive), one)
                << text << " / " << first << " / " << caseSensitive;
            ASSERT_EQ(rk_astr_match(text.c_str(), list.c_str(), ';', caseSensitive), one || two)
                << text << " / " << list;
        }
    }
}

// Ordinary decimal numbers: up to 17 significant digits, exponents within +-250.
TEST(DecimalsAgainstStrtod, RandomNumbers) {
    std::mt19937 random(4711);
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 2 != 0 ? "-" : "";
        const std::string whole = RandomText(random, "0123456789", 9);
        const std::string fraction = RandomText(random, "0123456789", 8);
        text += whole.empty() && fraction.empty() ? "7" : whole;
        if (!fraction.empty() || random() % 2 != 0)
            text += "." + fraction;
        if (random() % 2 != 0)
            text += (random() % 2 != 0 ? "e" : "E") + std::to_string(int(random() % 501) - 250);
        text += "x";
        char* referenceEnd = nullptr;
        const double reference = std::strtod(text.c_str(), &referenceEnd);
        double value = 0;
        const char* end = rk_str_tod(text.c_str(), nullptr, value);
        ASSERT_EQ(end, referenceEnd) << text;
        if (reference == 0)
            ASSERT_EQ(value, 0.0) << text;
        else
            ASSERT_LE(std::fabs(value - reference) / std::fabs(reference), 1e-12) << text;
    }
}

// ICU's UTF-8 form of UTF-16 units.
std::string IcuUtf8(const WText& units) {
    std::string bytes(3 * units.size(), '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(bytes.data(), static_cast<int32_t>(bytes.size()), &length, units.data(),
                static_cast<int32_t>(units.size()), &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

std::string ToUtf8(const WText& units) {
    std::string bytes(units.size() * 3, '\0');
    bytes.resize(rk_rstr_convert(reinterpret_cast<unsigned char*>(bytes.data()),
                                 static_cast<unsigned>(bytes.size()), units.data(),
                                 static_cast<unsigned>(units.size())));
    return bytes;
}

WText FromUtf8(const std::string& bytes) {
    WText units(bytes.size(), WCHAR());
    units.resize(rk_rstr_convert(units.data(), static_cast<unsigned>(units.size()),
                                 reinterpret_cast<const unsigned char*>(bytes.data()),
                                 static_cast<unsigned>(bytes.size())));
    return units;
}

TEST(Utf8AgainstIcu, EveryCharacterOfTheBasicMultilingualPlane) {
    WText all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF)
            all += static_cast<WCHAR>(c);
    }
    const std::string utf8 = IcuUtf8(all);
    EXPECT_TRUE(ToUtf8(all) == utf8);
    EXPECT_TRUE(FromUtf8(utf8) == all);
}

// Outside the Basic Multilingual Plane the toolkit differs from ICU on purpose: a surrogate
// pair becomes two three-byte sequences, and a four-byte sequence one unit (the low 16 bits).
TEST(Utf8AgainstIcu, SupplementaryCharactersDifferAsDocumented) {
    for (char32_t c = 0x10000; c <= 0x10FFFF; c += 0x1357) {
        const WText pair = {static_cast<WCHAR>(0xD800 + ((c - 0x10000) >> 10)),
                            static_cast<WCHAR>(0xDC00 + ((c - 0x10000) & 0x3FF))};
        const std::string standard = IcuUtf8(pair);
        ASSERT_EQ(standard.size(), 4u);
        const std::string encoded = ToUtf8(pair);
        ASSERT_EQ(encoded.size(), 6u);
        EXPECT_EQ(FromUtf8(encoded), pair);
        EXPECT_EQ(FromUtf8(standard), WText(1, static_cast<WCHAR>(c & 0xFFFF)));
    }
}

// Two bytes per character is less than UTF-8 may need: the text is cut after what fits.
TEST(Utf8AsAnsiCodePage, WideToNarrowKeepsWholeCharactersThatFit) {
    setenv("KORVO_ACP", "65001", 1);
    std::string dst = "x";
    RK::_cstring_set(dst, 1, u"\u20ac\u20ac", RK::kWholeString);
    unsetenv("KORVO_ACP");
    EXPECT_EQ(dst, "x\xE2\x82\xAC");
}

// Wide folding is Unicode's simple lower-case mapping of the characters of Unicode 15.
TEST(FoldingAgainstIcu, EveryCharacterOfTheBasicMultilingualPlane) {
    const UVersionInfo newest = {15, 0, 0, 0};
    for (UChar32 c = 1; c < 0x10000; ++c) {
        UVersionInfo age;
        u_charAge(c, age);
        if ((c >= 0xD800 && c <= 0xDFFF) ||
            std::lexicographical_compare(newest, newest + 4, age, age + 4))
            continue;
        const UChar32 lower = u_tolower(c);
        const WCHAR unit = static_cast<WCHAR>(c);
        ASSERT_EQ(rk_rstr_chri(&unit, 1, static_cast<WCHAR>(lower)), 0u) << std::hex << c;
    }
}

} // namespace
