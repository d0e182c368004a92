// StringUtil: cutting pieces into fixed buffers at their limits, indexes, comparison, LMBCS
// character boundaries (against the runtime's decoder), UTF-8 decoding, the time text, and the
// log lines of rejected arguments.
#include "stringutil.h"

#include "trace_recorder.h"

#include "notesapi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using korvo_test::TraceLine;

CString W(std::u16string_view text) {
    return CString(text.begin(), text.end());
}

const std::string kA255(255, 'a');
const std::string kA256(256, 'a');

// A piece cut from text: up to delim (delimiter form), or up to the same place (range form).
struct PieceRow {
    const char* name;  // test name
    std::string text;  // the source
    char delim;        // where the piece ends
    unsigned maxLen;   // room in the buffer, terminator included
    unsigned expected; // result
    std::string piece; // the buffer's text afterwards
};

const PieceRow kPieceRows[] = {
    {"BeforeDelimiter", "abc,def", ',', 256, 3, "abc"},
    {"DelimiterFirst", ",abc", ',', 256, 0, ""},
    {"EmptyText", "", ';', 256, 0, ""},
    {"NulDelimiterTakesAll", "abc,def", '\0', 256, 7, "abc,def"},
    {"Exactly255Fits", kA255, ',', 256, 255, kA255},
    {"Exactly256IsCut", kA256, ',', 256, 256, kA255},
    {"300WithoutDelimiterIsCut", std::string(300, 'a'), ';', 256, 256, kA255},
    {"DelimiterAt255Fits", kA255 + ",b", ',', 256, 255, kA255},
    {"DelimiterAt256IsCut", kA256 + ",b", ',', 256, 256, kA255},
    {"LimitOneKeepsNothing", "a", ',', 1, 1, ""},
    {"LimitOneFitsEmptyPiece", ",", ',', 1, 0, ""},
};

class Piece : public testing::TestWithParam<PieceRow> {
  protected:
    void SetUp() override { korvo_test::ClearTraceLines(); }

    // Checks the buffer (and that nothing was written beyond maxLen) and that nothing was
    // logged.
    void ExpectPiece(unsigned result, const std::vector<char>& out) {
        const PieceRow& row = GetParam();
        EXPECT_EQ(result, row.expected);
        EXPECT_EQ(std::string(out.data()), row.piece);
        EXPECT_EQ(out[row.maxLen], '#');
        EXPECT_EQ(korvo_test::TakeTraceLines(), std::vector<TraceLine>());
    }
};

TEST_P(Piece, UpToDelimiter) {
    const PieceRow& row = GetParam();
    std::vector<char> out(row.maxLen + 1, '#');
    ExpectPiece(StringUtil::GetSubString(row.text.c_str(), row.delim, row.maxLen, out.data()), out);
}

TEST_P(Piece, Range) {
    const PieceRow& row = GetParam();
    const char* begin = row.text.c_str();
    const char* end = begin + std::min(row.text.find(row.delim), row.text.size());
    std::vector<char> out(row.maxLen + 1, '#');
    ExpectPiece(StringUtil::GetSubString(begin, end, row.maxLen, out.data()), out);
}

INSTANTIATE_TEST_SUITE_P(Rows, Piece, testing::ValuesIn(kPieceRows),
                         [](const auto& test) { return std::string(test.param.name); });

// A rejected call: its result and the one line it logs.
struct RejectionRow {
    const char* name;               // test name
    std::function<unsigned()> call; // the call
    int level;                      // level of the line
    const char* function;           // function the line names
    const char* message;            // the message
};

const char kText[] = "abc";
char g_buffer[8];

const RejectionRow kRejectionRows[] = {
    {"IndexOfCharInNull", [] { return StringUtil::GetStringIndex(nullptr, 'a'); }, 0,
     "StringUtil::GetStringIndex", "Source string is NULL!!"},
    {"IndexOfPositionInNull", [] { return StringUtil::GetStringIndex(nullptr, kText); }, 0,
     "StringUtil::GetStringIndex", "Source string is NULL!!"},
    {"RangeWithoutBegin", [] { return StringUtil::GetSubString(nullptr, kText, 8, g_buffer); }, 1,
     "StringUtil::GetSubString", "Invalid parameter!!"},
    {"RangeWithoutEnd",
     [] { return StringUtil::GetSubString(kText, static_cast<const char*>(nullptr), 8, g_buffer); },
     1, "StringUtil::GetSubString", "Invalid parameter!!"},
    {"RangeWithoutInputOrBuffer",
     [] { return StringUtil::GetSubString(nullptr, kText, 8, nullptr); }, 1,
     "StringUtil::GetSubString", "Invalid parameter!!"},
    {"RangeWithoutBuffer", [] { return StringUtil::GetSubString(kText, kText + 1, 8, nullptr); }, 1,
     "StringUtil::GetSubString", "Invalid Buffer!!"},
    {"DelimitedWithoutText", [] { return StringUtil::GetSubString(nullptr, ',', 8, g_buffer); }, 1,
     "StringUtil::GetSubString", "Invalid parameter!!"},
    {"DelimitedWithoutBuffer", [] { return StringUtil::GetSubString(kText, ',', 8, nullptr); }, 1,
     "StringUtil::GetSubString", "Invalid Buffer!!"},
    {"DelimitedWithoutRoom", [] { return StringUtil::GetSubString(kText, ',', 0, g_buffer); }, 1,
     "StringUtil::GetSubString", "Invalid Buffer!!"},
};

class Rejection : public testing::TestWithParam<RejectionRow> {};

TEST_P(Rejection, ReturnsZeroAndLogsOnce) {
    const RejectionRow& row = GetParam();
    korvo_test::ClearTraceLines();
    EXPECT_EQ(row.call(), 0u);
    const TraceLine expected{row.level, "stringutil.cpp", row.function, row.message};
    EXPECT_EQ(korvo_test::TakeTraceLines(), std::vector<TraceLine>{expected});
}

INSTANTIATE_TEST_SUITE_P(Rows, Rejection, testing::ValuesIn(kRejectionRows),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(GetStringIndex, OfCharacter) {
    EXPECT_EQ(StringUtil::GetStringIndex("abc", 'x'), 3u);
    EXPECT_EQ(StringUtil::GetStringIndex("abcb", 'b'), 1u);
    EXPECT_EQ(StringUtil::GetStringIndex("abc", '\0'), 3u);
    EXPECT_EQ(StringUtil::GetStringIndex("", 'a'), 0u);
}

TEST(GetStringIndex, OfPosition) {
    const char* text = kText;
    EXPECT_EQ(StringUtil::GetStringIndex(text, text), 0u);
    EXPECT_EQ(StringUtil::GetStringIndex(text, text + 2), 2u);
    EXPECT_EQ(StringUtil::GetStringIndex(text, text + 3), 3u);
    EXPECT_EQ(StringUtil::GetStringIndex(text, g_buffer), 3u);
    EXPECT_EQ(StringUtil::GetStringIndex(text, static_cast<const char*>(nullptr)), 3u);
}

// An LMBCS text and where NextLmbcsCharacter ends its characters.
struct BoundaryRow {
    std::string text;         // LMBCS bytes
    std::vector<size_t> ends; // where its characters end, in order
};

class LmbcsBoundary : public testing::TestWithParam<BoundaryRow> {};

TEST_P(LmbcsBoundary, CharactersEndWhereTheRuntimeReadsThem) {
    const std::string& text = GetParam().text;
    std::vector<size_t> ends;
    for (size_t i = 0; i < text.size();
         i = StringUtil::NextLmbcsCharacter(text.data(), text.size(), i))
        ends.push_back(StringUtil::NextLmbcsCharacter(text.data(), text.size(), i));
    EXPECT_EQ(ends, GetParam().ends);
}

const BoundaryRow kBoundaryRows[] = {
    {"a\x14\x04\x3B;", {1, 4, 5}},                        // л holds ";"
    {"\x0F\x3B,", {2, 3}},                                // ESC holds ";"
    {"\x10\x81\x40\x10\x41,", {3, 5, 6}},                 // double-byte group, then single
    {"\x19;\x15\x1F", {1, 2, 3, 4}},                      // bytes that stand for themselves
    {"\x14\xD8\x3D\x14\xF6\xDE;", {6, 7}},                // a surrogate pair is one character
    {std::string("\x14\xD8\x3D\x14\x00\x41", 6), {3, 6}}, // a high surrogate alone
    {std::string("\x14\x00\x3B\x00", 4), {3, 4}},         // a NUL inside a unit
    {"a\x14\x04", {1, 3}},
    {"\x0F", {1}},
    {"\x10\x81", {2}}, // cut off by the end
};

INSTANTIATE_TEST_SUITE_P(Rows, LmbcsBoundary, testing::ValuesIn(kBoundaryRows));

// The runtime's LMBCS decoding of text, in UTF-8.
std::string Decode(std::string_view text) {
    std::string out(4 * text.size() + 1, '\0');
    out.resize(OSTranslate(OS_TRANSLATE_LMBCS_TO_UTF8, text.data(),
                           static_cast<uint16_t>(text.size()), out.data(),
                           static_cast<uint16_t>(out.size())));
    return out;
}

TEST(LmbcsBoundary, EveryPieceIsOneCharacterOfTheRuntimesReading) {
    const unsigned char alphabet[] = {0x00, 0x04, 0x0F, 0x10, 0x13, 0x14, 0x15, 0x19,
                                      0x2C, 0x3B, 0x41, 0x81, 0xD8, 0xDC, 0xDE, 0xF6};
    std::mt19937 random(850);
    for (int round = 0; round < 50000; ++round) {
        std::string text(1 + random() % 9, '\0');
        for (char& byte : text)
            byte = static_cast<char>(alphabet[random() % sizeof alphabet]);
        std::string pieces;
        for (size_t i = 0; i < text.size();) {
            const size_t end = StringUtil::NextLmbcsCharacter(text.data(), text.size(), i);
            ASSERT_GT(end, i);
            ASSERT_LE(end, text.size());
            const std::string piece = Decode(std::string_view(text).substr(i, end - i));
            ASSERT_EQ(std::count_if(piece.begin(), piece.end(),
                                    [](char c) { return (c & 0xC0) != 0x80; }),
                      1)
                << testing::PrintToString(text) << " at " << i;
            pieces += piece;
            i = end;
        }
        ASSERT_EQ(pieces, Decode(text)) << testing::PrintToString(text);
    }
}

// IsSameString(a, b) and its answer.
struct SameRow {
    const char* a; // first string (may be null)
    const char* b; // second string (may be null)
    bool expected; // the answer
};

TEST(IsSameString, Rows) {
    const SameRow rows[] = {
        {"Person", "Person", true}, {"Person", "person", false}, {"", "", true},
        {"abc", "abcd", false},     {"abd", "abc", false},       {"caf\xE9", "caf\xE9", true},
        {nullptr, "", false},       {"", nullptr, false},        {nullptr, nullptr, false},
    };
    for (const SameRow& row : rows)
        EXPECT_EQ(StringUtil::IsSameString(row.a, row.b), row.expected)
            << (row.a ? row.a : "(null)") << " / " << (row.b ? row.b : "(null)");
}

TEST(Utf8ToWide, ReplacesOrKeepsOutput) {
    const std::pair<const char*, std::u16string_view> rows[] = {
        {"abc", u"abc"},
        {"", u""},
        {nullptr, u"old"},
        {"caf\xC3\xA9 \xE2\x82\xAC", u"caf\u00e9 \u20ac"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xFFz", u"a\xFFFDz"},
    };
    for (const auto& [text, expected] : rows) {
        CString out = W(u"old");
        StringUtil::Utf8ToWide(text, out);
        EXPECT_EQ(out, W(expected)) << (text ? text : "(null)");
    }
}

TEST(FormatSystemTime, MonthDayYearThenTime) {
    const std::pair<SYSTEMTIME, std::u16string_view> rows[] = {
        {{2011, 3, 1, 7, 9, 5, 0, 999}, u"03/07/2011 09:05:00"},
        {{1601, 1, 0, 1, 0, 0, 0, 0}, u"01/01/1601 00:00:00"},
        {{30827, 12, 6, 31, 23, 59, 59, 0}, u"12/31/30827 23:59:59"},
    };
    for (const auto& [time, expected] : rows)
        EXPECT_EQ(StringUtil::FormatSystemTime(time), W(expected));
}

} // namespace
