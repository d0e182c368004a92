// Conversions between code pages and UTF-16 at their limits, and the caseless comparison.
#include "row_label.h"
#include "wide_text.h"

#include "platform/codepage.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr unsigned kUtf8 = platform::kCodePageUtf8;
constexpr uint32_t kMbErrInvalidChars = 0x8;  // MB_ERR_INVALID_CHARS
constexpr uint32_t kWcErrInvalidChars = 0x80; // WC_ERR_INVALID_CHARS
constexpr char16_t S = 0xAAAA;                // an output unit never written

// One call: the result, the last error when it is 0, and the whole output buffer afterwards
// (dstLen units or bytes; sentinels where nothing was written).
template <typename In, typename Out> struct ConversionRow {
    const char* label;
    unsigned codePage;
    In src;
    int srcLen; // -1, or a count of src's units
    uint32_t flags;
    int dstLen; // the room given; 0 asks for the size
    int result;
    uint32_t error;
    Out dst;
};

using WidenRow = ConversionRow<std::string, std::u16string>;
using NarrowRow = ConversionRow<std::u16string, std::string>;

class WidenTest : public ::testing::TestWithParam<WidenRow> {};

TEST_P(WidenTest, Converts) {
    const WidenRow& row = GetParam();
    std::vector<WCHAR> dst(size_t(row.dstLen), WCHAR(S));
    platform::SetLastError(0);
    EXPECT_EQ(platform::MultiByteToWideChar(row.codePage, row.flags, row.src.data(), row.srcLen,
                                            row.dstLen ? dst.data() : nullptr, row.dstLen),
              row.result);
    EXPECT_EQ(platform::GetLastError(), row.result ? 0 : row.error);
    EXPECT_EQ(U16(dst.data(), dst.size()), row.dst);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WidenTest,
    ::testing::Values(
        WidenRow{"SizeQueryWithNul", kUtf8, "abc", -1, 0, 0, 4, 0, u""},
        WidenRow{"WithNul", kUtf8, "abc", -1, 0, 4, 4, 0, std::u16string(u"abc\0", 4)},
        WidenRow{"ExactFit", kUtf8, "h\xE2\x82\xAC", 4, 0, 2, 2, 0, u"h\u20AC"},
        WidenRow{"OneShort", kUtf8, "abc", 3, 0, 2, 0, 122, u"ab"},
        WidenRow{"NulDoesNotFit", kUtf8, "abc", -1, 0, 3, 0, 122, u"abc"},
        WidenRow{"PairNotSplit", kUtf8, "a\xF0\x9F\x98\x80", 5, 0, 2, 0, 122, {u'a', S}},
        WidenRow{"StrictInvalid", kUtf8, "a\x80", 2, kMbErrInvalidChars, 2, 0, 1113, {S, S}},
        WidenRow{"Cp1252", 1252, "\x80\x81\x8D\x8F\x90\x9D\xFF", 7, 0, 7, 7, 0,
                 u"\u20AC\u0081\u008D\u008F\u0090\u009D\u00FF"},
        WidenRow{"Cp850", 850, "\x80\x9B\xB0\xD5\xF2\xFF\x7F", 7, 0, 7, 7, 0,
                 u"\u00C7\u00F8\u2591\u0131\u2017\u00A0\u007F"},
        WidenRow{"Cp1250", 1250, "\x8A\xB9", 2, 0, 2, 2, 0, u"\u0160\u0105"},
        WidenRow{"EmptySource", kUtf8, "", 0, 0, 1, 0, 87, {S}},
        WidenRow{"UnknownCodePage", 12345, "abc", 3, 0, 1, 0, 87, {S}}),
    RowLabel());

// UTF-8 decoding: every maximal invalid subpart becomes one U+FFFD.
struct Utf8Row {
    const char* label;
    std::string src;
    std::u16string expected;
};

class InvalidUtf8Test : public ::testing::TestWithParam<Utf8Row> {};

TEST_P(InvalidUtf8Test, ReplacesMaximalSubparts) {
    const Utf8Row& row = GetParam();
    WCHAR dst[16];
    const int n =
        platform::MultiByteToWideChar(kUtf8, 0, row.src.data(), int(row.src.size()), dst, 16);
    EXPECT_EQ(U16(dst, size_t(n)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InvalidUtf8Test,
    ::testing::Values(Utf8Row{"Stray", "a\x80z\xF5", u"a\uFFFDz\uFFFD"},
                      Utf8Row{"Overlong", "\xC0\xAF\xE0\x80\xAF",
                              u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
                      Utf8Row{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      Utf8Row{"AboveMax", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      Utf8Row{"CutShort",
                              "\xE2\x82"
                              "A\xF0\x9F\x98",
                              u"\uFFFDA\uFFFD"},
                      Utf8Row{"Largest", "\xF4\x8F\xBF\xBF\xEF\xBF\xBF", u"\U0010FFFF\uFFFF"}),
    RowLabel());

class NarrowTest : public ::testing::TestWithParam<NarrowRow> {};

TEST_P(NarrowTest, Converts) {
    const NarrowRow& row = GetParam();
    const WideString src = W(row.src);
    std::string dst(size_t(row.dstLen), '#');
    platform::SetLastError(0);
    EXPECT_EQ(platform::WideCharToMultiByte(row.codePage, row.flags, src.c_str(), row.srcLen,
                                            row.dstLen ? dst.data() : nullptr, row.dstLen),
              row.result);
    EXPECT_EQ(platform::GetLastError(), row.result ? 0 : row.error);
    EXPECT_EQ(dst, row.dst);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NarrowTest,
    ::testing::Values(
        NarrowRow{"SizeQuery", kUtf8, u"a\u20AC", -1, 0, 0, 5, 0, ""},
        NarrowRow{"ExactFit", kUtf8, u"a\u20AC", 2, 0, 4, 4, 0, "a\xE2\x82\xAC"},
        NarrowRow{"CharacterNotSplit", kUtf8, u"a\u20AC", 2, 0, 3, 0, 122, "a##"},
        NarrowRow{"NulDoesNotFit", kUtf8, u"ab", -1, 0, 2, 0, 122, "ab"},
        NarrowRow{"PairNotSplit", kUtf8, u"\U0001F600", 2, 0, 3, 0, 122, "###"},
        NarrowRow{"LoneSurrogates", kUtf8, u"\xDE00\xD83Dx", 3, 0, 7, 7, 0,
                  "\xEF\xBF\xBD\xEF\xBF\xBDx"},
        NarrowRow{"StrictLone", kUtf8, u"x\xDC00", 2, kWcErrInvalidChars, 4, 0, 1113, "####"},
        NarrowRow{"Cp1252", 1252, u"\u20AC\u0081\u0100\u00FF", 4, 0, 4, 4, 0, "\x80\x81?\xFF"},
        NarrowRow{"Cp850", 850, u"\u00C7\u00F1\u2592\u20AC", 4, 0, 4, 4, 0, "\x80\xA4\xB1?"},
        NarrowRow{"Cp1250", 1250, u"\u0160\u00E9\u4E00", 3, 0, 3, 3, 0, "\x8A\xE9?"}),
    RowLabel());

struct CompareRow {
    std::u16string a;
    int aLen;
    std::u16string b;
    int expected; // 1 less, 2 equal, 3 greater
};

class CompareIgnoreCaseTest : public ::testing::TestWithParam<CompareRow> {};

TEST_P(CompareIgnoreCaseTest, Compares) {
    const CompareRow& row = GetParam();
    EXPECT_EQ(platform::CompareStringIgnoreCase(W(row.a).c_str(), row.aLen, W(row.b).c_str(), -1),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CompareIgnoreCaseTest,
    ::testing::Values(CompareRow{u"Notes.INI", -1, u"notes.ini", 2},
                      CompareRow{u"\u00C4\u0178\u0139", -1, u"\u00E4\u00FF\u013A", 2},
                      CompareRow{u"\u0130", -1, u"i", 3},
                      CompareRow{u"\u0391\u0386\u0416\u0401", -1, u"\u03B1\u03AC\u0436\u0451", 2},
                      CompareRow{u"abcX", 3, u"ABC", 2}, CompareRow{u"a", -1, u"B", 1},
                      CompareRow{u"b", -1, u"A", 3}, CompareRow{u"ab", -1, u"ABC", 1}));

} // namespace
