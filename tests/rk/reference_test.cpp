// The toolkit against independent references of the C library, iconv and ICU: wildcard
// matching against fnmatch, decimal parsing against strtod, the UTF-8 conversions against
// iconv, wide case folding against ICU; and debugger output, which is standard error here.
#include "rk/match.h"
#include "rk/numbers.h"
#include "rk/strings.h"
#include "rk/trace.h"
#include "rk/utf8.h"

#include <fnmatch.h>
#include <iconv.h>
#include <unicode/uchar.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using WText = std::basic_string<WCHAR>;

WText W(const std::string& ascii) {
    return WText(ascii.begin(), ascii.end());
}

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
            ASSERT_EQ(rk_wstr_match(W(text).c_str(), W(list).c_str(), u';', caseSensitive),
                      one || two)
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
        double wideValue = 0;
        const WText wide = W(text);
        EXPECT_EQ(rk_str_tod(wide.c_str(), nullptr, wideValue) - wide.c_str(),
                  referenceEnd - text.c_str());
        ASSERT_EQ(wideValue, value) << text;
    }
}

// Converts bytes with iconv; fails the test when iconv refuses them.
std::string Iconv(const char* to, const char* from, const std::string& input) {
    const iconv_t converter = iconv_open(to, from);
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    std::string output(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    EXPECT_NE(iconv(converter, &in, &inLeft, &out, &outLeft), static_cast<size_t>(-1));
    iconv_close(converter);
    output.resize(output.size() - outLeft);
    return output;
}

std::string AsBytes(const WText& units) {
    std::string bytes;
    for (const WCHAR unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

WText FromBytes(const std::string& bytes) {
    WText units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]) |
                                    static_cast<unsigned char>(bytes[i + 1]) << 8);
    return units;
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

TEST(Utf8AgainstIconv, EveryCharacterOfTheBasicMultilingualPlane) {
    WText all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF)
            all += static_cast<WCHAR>(c);
    }
    const std::string utf8 = Iconv("UTF-8", "UTF-16LE", AsBytes(all));
    EXPECT_TRUE(ToUtf8(all) == utf8);
    EXPECT_TRUE(FromUtf8(utf8) == FromBytes(Iconv("UTF-16LE", "UTF-8", utf8)));
    EXPECT_TRUE(FromUtf8(utf8) == all);
}

// Outside the Basic Multilingual Plane the toolkit differs from iconv on purpose: a surrogate
// pair becomes two three-byte sequences, and a four-byte sequence one unit (the low 16 bits).
TEST(Utf8AgainstIconv, SupplementaryCharactersDifferAsDocumented) {
    for (char32_t c = 0x10000; c <= 0x10FFFF; c += 0x1357) {
        const WText pair = {static_cast<WCHAR>(0xD800 + ((c - 0x10000) >> 10)),
                            static_cast<WCHAR>(0xDC00 + ((c - 0x10000) & 0x3FF))};
        const std::string standard = Iconv("UTF-8", "UTF-16LE", AsBytes(pair));
        ASSERT_EQ(standard.size(), 4u);
        const std::string encoded = ToUtf8(pair);
        ASSERT_EQ(encoded.size(), 6u);
        EXPECT_EQ(FromUtf8(encoded), pair);
        EXPECT_EQ(FromUtf8(standard), WText(1, static_cast<WCHAR>(c & 0xFFFF)));
    }
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

void TraceW(const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    rk_vtrace_w(format, args);
    va_end(args);
}

TEST(TraceDebuggerOutput, GoesToStandardErrorCutAt2047Characters) {
    rk_set_trace(0, nullptr, 0);
    const WText longText(3000, u'y');
    testing::internal::CaptureStderr();
    TraceW(u"x%d", 1);
    TraceW(u"%s", longText.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "x1\n" + std::string(2047, 'y') + "\n");
}

} // namespace
