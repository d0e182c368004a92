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

// The code-unit string of a row's text, for the calls and the comparisons.
WString Units(std::u16string_view text) {
    return WString(text.begin(), text.end());
}

std::string Units(std::string_view text) {
    return std::string(text);
}

// A conversion of rk_str_convert; dst is filled with '#' before the call.
template <typename In, typename Out> struct ConversionRow {
    const char* name;  // names the row in failures
    int codePage;      // target or source code page
    In src;            // the source text (its literal ends in a NUL)
    unsigned srcLen;   // as passed
    unsigned dstLen;   // room given
    unsigned expected; // result
    Out dst;           // the dstLen units of dst afterwards
};

// Runs the rows; one guard unit beyond the room must stay untouched.
template <typename In, typename Out, size_t N>
void CheckConversions(const ConversionRow<In, Out> (&rows)[N]) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto src = Units(row.src);
        auto dst = Units(row.dst);
        dst.assign(row.dstLen + 1, '#');
        EXPECT_EQ(rk_str_convert(row.codePage, dst.data(), row.dstLen, src.c_str(), row.srcLen),
                  row.expected);
        auto expected = Units(row.dst);
        expected.push_back('#');
        EXPECT_EQ(dst, expected);
    }
}

TEST(Conversion, WideToMultibyte) {
    const ConversionRow<std::u16string_view, std::string_view> rows[] = {
        {"ExactFit", kUtf8, u"abc", 3, 3, 3, "abc"},
        {"RoomToSpare", kUtf8, u"abc", 3, 5, 3, "abc##"},
        {"WholeStringNulWrittenNotCounted", kUtf8, u"abc", kWhole, 5, 3, "abc\0#"sv},
        {"WholeStringWithoutRoomForNul", kUtf8, u"abc", kWhole, 3, 3, "abc"},
        {"OneShort", kUtf8, u"abc", 3, 2, 2, "ab"},
        {"FinalNulNotCounted", kUtf8, u"ab\0"sv, 3, 3, 2, "ab\0"sv},
        {"CutCountStopsAtFirstNul", kUtf8, u"a\0bc"sv, 4, 3, 1, "a\0b"sv},
        {"Windows1252", k1252, u"caf\u00e9 \u20ac", kWhole, 7, 6, "caf\xE9 \x80\0"sv},
        {"NoRoom", kUtf8, u"abc", 3, 0, 0, ""},
        {"EmptySource", kUtf8, u"abc", 0, 3, 0, "###"},
        {"UnknownCodePage", kUnknownCodePage, u"abc", 3, 3, 0, "###"},
    };
    CheckConversions(rows);
}

TEST(Conversion, MultibyteToWide) {
    const ConversionRow<std::string_view, std::u16string_view> rows[] = {
        {"ExactFit", kUtf8, "abc", 3, 3, 3, u"abc"},
        {"WholeStringNulWrittenNotCounted", kUtf8, "abc", kWhole, 5, 3, u"abc\0#"sv},
        {"OneShort", kUtf8, "abc", 3, 2, 2, u"ab"},
        {"FinalNulNotCounted", kUtf8, "ab\0"sv, 3, 3, 2, u"ab\0"sv},
        {"CutCountStopsAtFirstNul", kUtf8, "a\0bc"sv, 4, 3, 1, u"a\0b"sv},
        {"Windows1252", k1252, "\x80\xE9", 2, 2, 2, u"\u20ac\u00e9"},
        {"NoRoom", kUtf8, "abc", 3, 0, 0, u""},
        {"UnknownCodePage", kUnknownCodePage, "abc", 3, 3, 0, u"###"},
    };
    CheckConversions(rows);
}

TEST(Conversion, CodePageToCodePage) {
    struct Row {
        const char* name;     // names the row in failures
        int toCodePage;       // target code page
        int fromCodePage;     // source code page
        std::string_view src; // the source text (its literal ends in a NUL)
        unsigned srcLen;      // as passed
        unsigned dstLen;      // room given
        unsigned expected;    // result
        std::string_view dst; // the dstLen bytes of dst afterwards
    };
    const Row rows[] = {
        {"Windows1252ToUtf8", kUtf8, k1252, "caf\xE9", 4, 6, 5, "caf\xC3\xA9#"},
        {"Utf8ToWindows1252", k1252, kUtf8, "\xE2\x82\xAC!", 4, 3, 2, "\x80!#"},
        {"WholeStringWritesNoNul", kUtf8, k1252, "\xE9", kWhole, 3, 2, "\xC3\xA9#"},
        {"CutBeforeCharacterThatDoesNotFit", kUtf8, k1252, "\xE9\xE9", 2, 3, 2, "\xC3\xA9\0"sv},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string dst(row.dstLen + 1, '#');
        EXPECT_EQ(rk_str_convert(row.toCodePage, dst.data(), row.dstLen, row.fromCodePage,
                                 row.src.data(), row.srcLen),
                  row.expected);
        EXPECT_EQ(dst, std::string(row.dst) + "#");
    }
}

// Widens ASCII test text unit by unit: len bytes, or through the NUL for kWhole.
WString WidenAscii(const char* text, unsigned len) {
    const size_t count = len == kWhole ? std::char_traits<char>::length(text) + 1 : len;
    return WString(text, text + count);
}

// Every form of _cstring_set treats ASCII text alike.
TEST(CStringSet, AllFormsAlike) {
    struct Row {
        const char* name;        // names the row in failures
        std::string_view before; // dst before the call
        unsigned pos;            // as passed
        const char* src;         // as passed (may be null)
        unsigned len;            // as passed
        std::string_view after;  // dst after the call
    };
    const Row rows[] = {
        {"IntoEmpty", "", 0, "abc", 3, "abc"},
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
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WString wideSrc = row.src ? WidenAscii(row.src, row.len) : WString();
        const WCHAR* wide = row.src ? wideSrc.c_str() : nullptr;
        const WString wideBefore = WidenAscii(row.before.data(), unsigned(row.before.size()));
        const WString wideAfter = WidenAscii(row.after.data(), unsigned(row.after.size()));
        std::string narrowDst(row.before);
        RK::_cstring_set(narrowDst, row.pos, row.src, row.len);
        EXPECT_EQ(narrowDst, row.after);
        WString wideDst = wideBefore;
        RK::_cstring_set(wideDst, row.pos, wide, row.len);
        EXPECT_EQ(wideDst, wideAfter);
        wideDst = wideBefore;
        RK::_cstring_set(wideDst, row.pos, row.src, row.len);
        EXPECT_EQ(wideDst, wideAfter);
        narrowDst = row.before;
        RK::_cstring_set(narrowDst, row.pos, wide, row.len);
        EXPECT_EQ(narrowDst, row.after);
    }
}

// Conversions through the ANSI code page, taken to be Windows-1252.
TEST(CStringSet, ThroughTheAnsiCodePage) {
    if (platform::GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page is " << platform::GetACP();
    struct Row {
        const char* name;              // names the row in failures
        std::string_view before;       // dst before the call (ASCII)
        unsigned pos;                  // as passed
        std::string_view narrow;       // the source in 1252 (its literal ends in a NUL)
        std::u16string_view wide;      // the same source as wide text
        unsigned len;                  // as passed
        std::string_view narrowAfter;  // narrow dst after the call
        std::u16string_view wideAfter; // wide dst after the call
    };
    const Row rows[] = {
        {"Accented", "", 0, "caf\xE9", u"caf\u00e9", kWhole, "caf\xE9", u"caf\u00e9"},
        {"EuroSign", "xy", 1, "\x80 5", u"\u20ac 5", 3, "x\x80 5", u"x\u20ac 5"},
        {"FinalNulDropped", "xyz", 1, "ab\0"sv, u"ab\0"sv, 3, "xab", u"xab"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string narrowDst(row.before);
        RK::_cstring_set(narrowDst, row.pos, Units(row.wide).c_str(), row.len);
        EXPECT_EQ(narrowDst, row.narrowAfter);
        WString wideDst = Units(std::u16string(row.before.begin(), row.before.end()));
        RK::_cstring_set(wideDst, row.pos, row.narrow.data(), row.len);
        EXPECT_EQ(wideDst, Units(row.wideAfter));
    }
}

} // namespace
