// rk_str_convert at the edges of its buffers, and the four forms of RK::_cstring_set.
#include "rk/convert.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace std::literals;

namespace {

using WString = RK::CStringT<WCHAR>;
constexpr unsigned kWhole = RK::kWholeString;
constexpr int kUtf8 = 65001;
constexpr int k1252 = 1252;
constexpr int kUnknownCodePage = 12345;

WString W(std::u16string_view text) {
    return WString(text.begin(), text.end());
}

// Wide text to multibyte text; dst is filled with '#' before the call.
struct NarrowingRow {
    const char* name;        // test name
    int codePage;            // target code page
    std::u16string_view src; // the wide text (its literal ends in a NUL)
    unsigned srcLen;         // as passed
    unsigned dstLen;         // room given
    unsigned expected;       // result
    std::string_view dst;    // the dstLen bytes of dst afterwards
};

const NarrowingRow kNarrowingRows[] = {
    {"ExactFit", kUtf8, u"abc", 3, 3, 3, "abc"},
    {"RoomToSpare", kUtf8, u"abc", 3, 5, 3, "abc##"},
    {"WholeStringNulWrittenNotCounted", kUtf8, u"abc", kWhole, 5, 3, "abc\0#"sv},
    {"WholeStringWithoutRoomForNul", kUtf8, u"abc", kWhole, 3, 3, "abc"},
    {"OneShort", kUtf8, u"abc", 3, 2, 2, "ab"},
    {"FinalNulNotCounted", kUtf8, u"ab\0"sv, 3, 3, 2, "ab\0"sv},
    {"CutCountStopsAtFirstNul", kUtf8, u"a\0bc"sv, 4, 3, 1, "a\0b"sv},
    {"Utf8CutBeforeCharacterThatDoesNotFit", kUtf8, u"a\u00e9\u20ac", 3, 4, 3, "a\xC3\xA9\0"sv},
    {"SurrogatePair", kUtf8, u"\U0001F600", 2, 4, 4, "\xF0\x9F\x98\x80"},
    {"LoneHighSurrogate", kUtf8, u"a\xD800z", 3, 6, 5, "a\xEF\xBF\xBDz#"},
    {"Windows1252", k1252, u"caf\u00e9 \u20ac", kWhole, 7, 6, "caf\xE9 \x80\0"sv},
    {"Windows1252Unmapped", k1252, u"\u4e2d", 1, 2, 1, "?#"},
    {"NoRoom", kUtf8, u"abc", 3, 0, 0, ""},
    {"EmptySource", kUtf8, u"abc", 0, 3, 0, "###"},
    {"UnknownCodePage", kUnknownCodePage, u"abc", 3, 3, 0, "###"},
};

class Narrowing : public testing::TestWithParam<NarrowingRow> {};

TEST_P(Narrowing, WritesAndCounts) {
    const NarrowingRow& row = GetParam();
    const WString src = W(row.src);
    std::string dst(row.dstLen + 1, '#'); // one guard byte beyond the room
    EXPECT_EQ(rk_str_convert(row.codePage, dst.data(), row.dstLen, src.c_str(), row.srcLen),
              row.expected);
    EXPECT_EQ(dst, std::string(row.dst) + "#");
}

INSTANTIATE_TEST_SUITE_P(Rows, Narrowing, testing::ValuesIn(kNarrowingRows),
                         [](const auto& test) { return std::string(test.param.name); });

// Multibyte text to wide text; dst is filled with '#' before the call.
struct WideningRow {
    const char* name;        // test name
    int codePage;            // source code page
    std::string_view src;    // the multibyte text (its literal ends in a NUL)
    unsigned srcLen;         // as passed
    unsigned dstLen;         // room given
    unsigned expected;       // result
    std::u16string_view dst; // the dstLen units of dst afterwards
};

const WideningRow kWideningRows[] = {
    {"ExactFit", kUtf8, "abc", 3, 3, 3, u"abc"},
    {"WholeStringNulWrittenNotCounted", kUtf8, "abc", kWhole, 5, 3, u"abc\0#"sv},
    {"OneShort", kUtf8, "abc", 3, 2, 2, u"ab"},
    {"FinalNulNotCounted", kUtf8, "ab\0"sv, 3, 3, 2, u"ab\0"sv},
    {"CutCountStopsAtFirstNul", kUtf8, "a\0bc"sv, 4, 3, 1, u"a\0b"sv},
    {"Utf8TwoByte", kUtf8, "caf\xC3\xA9", 5, 4, 4, u"caf\u00e9"},
    {"Utf8InvalidByte", kUtf8, "a\xFFz", 3, 3, 3, u"a\xFFFDz"},
    {"Utf8TruncatedAtEnd", kUtf8, "a\xC3", 2, 3, 2, u"a\xFFFD#"},
    {"Windows1252", k1252, "\x80\xE9", 2, 2, 2, u"\u20ac\u00e9"},
    {"NoRoom", kUtf8, "abc", 3, 0, 0, u""},
    {"UnknownCodePage", kUnknownCodePage, "abc", 3, 3, 0, u"###"},
};

class Widening : public testing::TestWithParam<WideningRow> {};

TEST_P(Widening, WritesAndCounts) {
    const WideningRow& row = GetParam();
    WString dst(row.dstLen + 1, WCHAR('#'));
    EXPECT_EQ(rk_str_convert(row.codePage, dst.data(), row.dstLen, row.src.data(), row.srcLen),
              row.expected);
    EXPECT_EQ(dst, W(row.dst) + WCHAR('#'));
}

INSTANTIATE_TEST_SUITE_P(Rows, Widening, testing::ValuesIn(kWideningRows),
                         [](const auto& test) { return std::string(test.param.name); });

// Code page to code page; dst is filled with '#' before the call.
struct RecodingRow {
    const char* name;     // test name
    int toCodePage;       // target code page
    int fromCodePage;     // source code page
    std::string_view src; // the source text (its literal ends in a NUL)
    unsigned srcLen;      // as passed
    unsigned dstLen;      // room given
    unsigned expected;    // result
    std::string_view dst; // the dstLen bytes of dst afterwards
};

const RecodingRow kRecodingRows[] = {
    {"Windows1252ToUtf8", kUtf8, k1252, "caf\xE9", 4, 6, 5, "caf\xC3\xA9#"},
    {"Utf8ToWindows1252", k1252, kUtf8, "\xE2\x82\xAC!", 4, 3, 2, "\x80!#"},
    {"WholeStringWritesNoNul", kUtf8, k1252, "\xE9", kWhole, 3, 2, "\xC3\xA9#"},
    {"CutBeforeCharacterThatDoesNotFit", kUtf8, k1252, "\xE9\xE9", 2, 3, 2, "\xC3\xA9\0"sv},
};

class Recoding : public testing::TestWithParam<RecodingRow> {};

TEST_P(Recoding, WritesAndCounts) {
    const RecodingRow& row = GetParam();
    std::string dst(row.dstLen + 1, '#');
    EXPECT_EQ(rk_str_convert(row.toCodePage, dst.data(), row.dstLen, row.fromCodePage,
                             row.src.data(), row.srcLen),
              row.expected);
    EXPECT_EQ(dst, std::string(row.dst) + "#");
}

INSTANTIATE_TEST_SUITE_P(Rows, Recoding, testing::ValuesIn(kRecodingRows),
                         [](const auto& test) { return std::string(test.param.name); });

// Widens ASCII test text unit by unit: len bytes, or through the NUL for kWhole.
WString WidenAscii(const char* text, unsigned len) {
    const size_t count = len == kWhole ? std::char_traits<char>::length(text) + 1 : len;
    return WString(text, text + count);
}

// Every form of _cstring_set treats ASCII text alike.
struct SetRow {
    const char* name;        // test name
    std::string_view before; // dst before the call
    unsigned pos;            // as passed
    const char* src;         // as passed (may be null)
    unsigned len;            // as passed
    std::string_view after;  // dst after the call
};

const SetRow kSetRows[] = {
    {"IntoEmpty", "", 0, "abc", 3, "abc"},
    {"ReplacesWholeText", "xyz", 0, "abc", 3, "abc"},
    {"AtPositionTwo", "xyz", 2, "abc", 3, "xyabc"},
    {"DropsTheRest", "xyzzy", 1, "ab", 2, "xab"},
    {"TakesLenCharacters", "xyz", 1, "abcdef", 2, "xab"},
    {"PadsShortDestination", "xyz", 5, "ab", 2, "xyz\0\0ab"sv},
    {"WholeString", "xyz", 1, "abc", kWhole, "xabc"},
    {"InnerNulKept", "xyz", 1, "a\0b", 3, "xa\0b"sv},
    {"EmptyWholeStringLeavesUnchanged", "xyz", 1, "", kWhole, "xyz"},
    {"NullLeavesUnchanged", "xyz", 1, nullptr, 3, "xyz"},
    {"LengthZeroLeavesUnchanged", "xyz", 1, "abc", 0, "xyz"},
};

class CStringSet : public testing::TestWithParam<SetRow> {};

TEST_P(CStringSet, NarrowToNarrow) {
    const SetRow& row = GetParam();
    std::string dst(row.before);
    RK::_cstring_set(dst, row.pos, row.src, row.len);
    EXPECT_EQ(dst, row.after);
}

TEST_P(CStringSet, WideToWide) {
    const SetRow& row = GetParam();
    WString dst = WidenAscii(row.before.data(), unsigned(row.before.size()));
    const WString src = row.src ? WidenAscii(row.src, row.len) : WString();
    RK::_cstring_set(dst, row.pos, row.src ? src.c_str() : nullptr, row.len);
    EXPECT_EQ(dst, WidenAscii(row.after.data(), unsigned(row.after.size())));
}

TEST_P(CStringSet, NarrowToWide) {
    const SetRow& row = GetParam();
    WString dst = WidenAscii(row.before.data(), unsigned(row.before.size()));
    RK::_cstring_set(dst, row.pos, row.src, row.len);
    EXPECT_EQ(dst, WidenAscii(row.after.data(), unsigned(row.after.size())));
}

TEST_P(CStringSet, WideToNarrow) {
    const SetRow& row = GetParam();
    std::string dst(row.before);
    const WString src = row.src ? WidenAscii(row.src, row.len) : WString();
    RK::_cstring_set(dst, row.pos, row.src ? src.c_str() : nullptr, row.len);
    EXPECT_EQ(dst, row.after);
}

INSTANTIATE_TEST_SUITE_P(Rows, CStringSet, testing::ValuesIn(kSetRows),
                         [](const auto& test) { return std::string(test.param.name); });

// Conversions through the ANSI code page, taken to be Windows-1252.
struct AnsiSetRow {
    const char* name;              // test name
    std::string_view before;       // dst before the call (ASCII)
    unsigned pos;                  // as passed
    std::string_view narrow;       // the source in 1252 (its literal ends in a NUL)
    std::u16string_view wide;      // the same source as wide text
    unsigned len;                  // as passed
    std::string_view narrowAfter;  // narrow dst after the call
    std::u16string_view wideAfter; // wide dst after the call
};

const AnsiSetRow kAnsiSetRows[] = {
    {"Accented", "", 0, "caf\xE9", u"caf\u00e9", kWhole, "caf\xE9", u"caf\u00e9"},
    {"EuroSign", "xy", 1, "\x80 5", u"\u20ac 5", 3, "x\x80 5", u"x\u20ac 5"},
    {"FinalNulDropped", "xyz", 1, "ab\0"sv, u"ab\0"sv, 3, "xab", u"xab"},
};

class CStringSetAnsi : public testing::TestWithParam<AnsiSetRow> {
  protected:
    void SetUp() override {
        if (platform::GetACP() != 1252)
            GTEST_SKIP() << "the ANSI code page is " << platform::GetACP();
    }
};

TEST_P(CStringSetAnsi, WideToNarrow) {
    const AnsiSetRow& row = GetParam();
    std::string dst(row.before);
    RK::_cstring_set(dst, row.pos, W(row.wide).c_str(), row.len);
    EXPECT_EQ(dst, row.narrowAfter);
}

TEST_P(CStringSetAnsi, NarrowToWide) {
    const AnsiSetRow& row = GetParam();
    WString dst = W(std::u16string(row.before.begin(), row.before.end()));
    RK::_cstring_set(dst, row.pos, row.narrow.data(), row.len);
    EXPECT_EQ(dst, W(row.wideAfter));
}

INSTANTIATE_TEST_SUITE_P(Rows, CStringSetAnsi, testing::ValuesIn(kAnsiSetRows),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
