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
#include <tuple>
#include <vector>

namespace {

using korvo_test::TraceLine;

CString W(std::u16string_view text) {
    return CString(text.begin(), text.end());
}

// A piece cut from text up to delim, by both forms: the delimiter form, and the range form up
// to the same place. Nothing may be written beyond maxLen, and nothing logged.
TEST(GetSubString, CutsAtTheDelimiterOrTheLimit) {
    const std::string a255(255, 'a');
    const std::string a256(256, 'a');
    struct Row {
        std::string text;  // the source
        char delim;        // where the piece ends
        unsigned maxLen;   // room in the buffer, terminator included
        unsigned expected; // result
        std::string piece; // the buffer's text afterwards
    };
    const Row rows[] = {
        {"abc,def", ',', 256, 3, "abc"},
        {",abc", ',', 256, 0, ""},
        {"", ';', 256, 0, ""},
        {"abc,def", '\0', 256, 7, "abc,def"},
        {a255, ',', 256, 255, a255},
        {a256, ',', 256, 256, a255},
        {std::string(300, 'a'), ';', 256, 256, a255},
        {a255 + ",b", ',', 256, 255, a255},
        {a256 + ",b", ',', 256, 256, a255},
        {"a", ',', 1, 1, ""},
        {",", ',', 1, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.text.size() << " bytes, room " << row.maxLen);
        const char* begin = row.text.c_str();
        const char* end = begin + std::min(row.text.find(row.delim), row.text.size());
        korvo_test::ClearTraceLines();
        std::vector<char> delimited(row.maxLen + 1, '#');
        std::vector<char> ranged(row.maxLen + 1, '#');
        EXPECT_EQ(StringUtil::GetSubString(begin, row.delim, row.maxLen, delimited.data()),
                  row.expected);
        EXPECT_EQ(StringUtil::GetSubString(begin, end, row.maxLen, ranged.data()), row.expected);
        for (const std::vector<char>& out : {delimited, ranged}) {
            EXPECT_EQ(std::string(out.data()), row.piece);
            EXPECT_EQ(out[row.maxLen], '#');
        }
        EXPECT_EQ(korvo_test::TakeTraceLines(), std::vector<TraceLine>());
    }
}

const char kText[] = "abc";
char g_buffer[8];

// Rejected calls: each returns 0 and logs the one line of its group.
TEST(StringUtil, RejectedArgumentsGiveZeroAndLogOnce) {
    const std::pair<TraceLine, std::vector<std::function<unsigned()>>> groups[] = {
        {{0, "stringutil.cpp", "StringUtil::GetStringIndex", "Source string is NULL!!"},
         {[] { return StringUtil::GetStringIndex(nullptr, 'a'); },
          [] { return StringUtil::GetStringIndex(nullptr, kText); }}},
        {{1, "stringutil.cpp", "StringUtil::GetSubString", "Invalid parameter!!"},
         {[] { return StringUtil::GetSubString(nullptr, kText, 8, g_buffer); },
          [] {
              return StringUtil::GetSubString(kText, static_cast<const char*>(nullptr), 8,
                                              g_buffer);
          },
          [] { return StringUtil::GetSubString(nullptr, kText, 8, nullptr); },
          [] { return StringUtil::GetSubString(nullptr, ',', 8, g_buffer); }}},
        {{1, "stringutil.cpp", "StringUtil::GetSubString", "Invalid Buffer!!"},
         {[] { return StringUtil::GetSubString(kText, kText + 1, 8, nullptr); },
          [] { return StringUtil::GetSubString(kText, ',', 8, nullptr); },
          [] { return StringUtil::GetSubString(kText, ',', 0, g_buffer); }}},
    };
    for (const auto& [line, calls] : groups) {
        for (size_t i = 0; i < calls.size(); ++i) {
            korvo_test::ClearTraceLines();
            EXPECT_EQ(calls[i](), 0u) << line.message << " #" << i;
            EXPECT_EQ(korvo_test::TakeTraceLines(), std::vector<TraceLine>{line}) << " #" << i;
        }
    }
}

TEST(GetStringIndex, OfCharacterAndOfPosition) {
    EXPECT_EQ(StringUtil::GetStringIndex("abc", 'x'), 3u);
    EXPECT_EQ(StringUtil::GetStringIndex("abcb", 'b'), 1u);
    EXPECT_EQ(StringUtil::GetStringIndex("abc", '\0'), 3u);
    const char* text = kText;
    EXPECT_EQ(StringUtil::GetStringIndex(text, text + 2), 2u);
    EXPECT_EQ(StringUtil::GetStringIndex(text, text + 3), 3u);
    EXPECT_EQ(StringUtil::GetStringIndex(text, g_buffer), 3u);
    EXPECT_EQ(StringUtil::GetStringIndex(text, static_cast<const char*>(nullptr)), 3u);
}

// Surrogate pairs, which the random texts below seldom form: where NextLmbcsCharacter ends
// the characters, in order. Groups, escapes and texts cut off by their end are common there.
TEST(LmbcsBoundary, SurrogatePairsEndWhereTheRuntimeReadsThem) {
    const std::pair<std::string, std::vector<size_t>> rows[] = {
        {"\x14\xD8\x3D\x14\xF6\xDE;", {6, 7}},                // a surrogate pair is one character
        {std::string("\x14\xD8\x3D\x14\x00\x41", 6), {3, 6}}, // a high surrogate alone
    };
    for (const auto& [text, expected] : rows) {
        std::vector<size_t> ends;
        for (size_t i = 0; i < text.size();
             i = StringUtil::NextLmbcsCharacter(text.data(), text.size(), i))
            ends.push_back(StringUtil::NextLmbcsCharacter(text.data(), text.size(), i));
        EXPECT_EQ(ends, expected) << testing::PrintToString(text);
    }
}

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

TEST(IsSameString, ExactBytesAndNeverNull) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"Person", "Person", true}, {"Person", "person", false}, {"", "", true},
        {"abc", "abcd", false},     {"abd", "abc", false},       {"caf\xE9", "caf\xE9", true},
        {nullptr, "", false},       {"", nullptr, false},        {nullptr, nullptr, false},
    };
    for (const auto& [a, b, expected] : rows)
        EXPECT_EQ(StringUtil::IsSameString(a, b), expected)
            << (a ? a : "(null)") << " / " << (b ? b : "(null)");
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

// The layout of ordinary times is checked through the calendar documents (tests/calendarops);
// the widest fields must fit as well.
TEST(FormatSystemTime, WidestFieldsFit) {
    EXPECT_EQ(StringUtil::FormatSystemTime({30827, 12, 6, 31, 23, 59, 59, 999}),
              W(u"12/31/30827 23:59:59"));
}

} // namespace
