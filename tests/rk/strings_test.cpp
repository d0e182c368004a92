// The toolkit's string functions: searches, case changes, copies, matching, numbers, lines,
// UTF-8, hex dumps and URL coding. Narrow rows run through the wide forms too.
#include "rk/hexdump.h"
#include "rk/lines.h"
#include "rk/match.h"
#include "rk/numbers.h"
#include "rk/strings.h"
#include "rk/url.h"
#include "rk/utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using WText = std::basic_string<WCHAR>;
constexpr unsigned kWhole = 0xFFFFFFFFu;
constexpr int kNone = -1; // "no end pointer" or "null result" in the tables

WText W(const std::string& ascii) {
    return WText(ascii.begin(), ascii.end());
}

template <typename T> std::string Name(const testing::TestParamInfo<T>& info) {
    return info.param.name;
}

// Ranged searches: n and m as passed; expected is the index returned.
struct RangedRow {
    const char* name;   // test name
    bool fold;          // rk_rstr_chri / rk_rstr_stri rather than the exact forms
    const char* text;   // searched text
    unsigned n;         // its length as passed
    const char* needle; // one character (chr) or the text sought (str)
    unsigned m;         // needle length for str; 0 marks a chr row
    unsigned expected;  // the index returned
};

const RangedRow kRangedRows[] = {
    {"ChrFound", false, "abc", 3, "c", 0, 2},
    {"ChrMissing", false, "abc", 3, "x", 0, 3},
    {"ChrBeyondN", false, "abc", 2, "c", 0, 2},
    {"ChrStopsAtNul", false, "ab", 9, "x", 0, 9},
    {"ChrZeroLength", false, "abc", 0, "a", 0, 0},
    {"ChriFoldsText", true, "ABC", 3, "b", 0, 1},
    {"ChriDoesNotFoldNeedle", true, "ABC", 3, "B", 0, 3},
    {"StrSecondCandidate", false, "abcabd", 6, "abd", 3, 3},
    {"StrEmptyNeedle", false, "abc", 3, "", 3, 0},
    {"StrNeedleCutByM", false, "xabz", 4, "abc", 2, 1},
    {"StrWholeNeedle", false, "xxabc", 5, "abc", kWhole, 2},
    {"StrRunsPastN", false, "xxab", 3, "ab", 2, 3},
    {"StrTextEndsInCandidate", false, "abcab", 5, "abx", 3, 5},
    {"StrMissing", false, "abc", 3, "d", 1, 3},
    {"StriFoldsBoth", true, "xxHeLLo", 7, "hEllO", 5, 2},
};

class RangedSearch : public testing::TestWithParam<RangedRow> {};

using NarrowChr = unsigned (*)(const char*, unsigned, char);
using WideChr = unsigned (*)(const WCHAR*, unsigned, WCHAR);
using NarrowStr = unsigned (*)(const char*, unsigned, const char*, unsigned);
using WideStr = unsigned (*)(const WCHAR*, unsigned, const WCHAR*, unsigned);

TEST_P(RangedSearch, NarrowAndWide) {
    const RangedRow& row = GetParam();
    const WText text = W(row.text);
    const WText needle = W(row.needle);
    if (row.m == 0) {
        const NarrowChr narrow = row.fold ? NarrowChr(rk_rstr_chri) : NarrowChr(rk_rstr_chr);
        const WideChr wide = row.fold ? WideChr(rk_rstr_chri) : WideChr(rk_rstr_chr);
        EXPECT_EQ(narrow(row.text, row.n, row.needle[0]), row.expected);
        EXPECT_EQ(wide(text.c_str(), row.n, needle[0]), row.expected);
    } else {
        const NarrowStr narrow = row.fold ? NarrowStr(rk_rstr_stri) : NarrowStr(rk_rstr_str);
        const WideStr wide = row.fold ? WideStr(rk_rstr_stri) : WideStr(rk_rstr_str);
        EXPECT_EQ(narrow(row.text, row.n, row.needle, row.m), row.expected);
        EXPECT_EQ(wide(text.c_str(), row.n, needle.c_str(), row.m), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RangedSearch, testing::ValuesIn(kRangedRows), Name<RangedRow>);

enum class PointerSearch { Chri, Rchri, Stri, Rstri };

// Pointer searches: end as an offset from the start (kNone: null); the found offset or kNone.
struct PointerRow {
    const char* name;   // test name
    PointerSearch kind; // the function
    const char* text;   // searched text
    int end;            // end offset, kNone for a null end
    const char* needle; // one character or the text sought
    int expected;       // offset of the result, kNone for null
};

const PointerRow kPointerRows[] = {
    {"ChriFoldsBoth", PointerSearch::Chri, "xAya", kNone, "a", 1},
    {"ChriBoundedByEnd", PointerSearch::Chri, "xyzA", 3, "a", kNone},
    {"ChriStartAtEnd", PointerSearch::Chri, "abc", 0, "a", kNone},
    {"RchriLast", PointerSearch::Rchri, "xAya", kNone, "A", 3},
    {"RchriBoundedByEnd", PointerSearch::Rchri, "xAya", 3, "a", 1},
    {"StriWord", PointerSearch::Stri, "Hello World!", kNone, "WORLD", 6},
    {"StriRunsPastText", PointerSearch::Stri, "Hello World", kNone, "WORLDS", kNone},
    {"StriRunsPastEnd", PointerSearch::Stri, "Hello World", 9, "world", kNone},
    {"StriEmptyNeedle", PointerSearch::Stri, "abc", kNone, "", 0},
    {"StriLaterCandidate", PointerSearch::Stri, "aab", kNone, "AB", 1},
    {"RstriLastOccurrence", PointerSearch::Rstri, "abcABCabx", kNone, "abc", 3},
    {"RstriBoundedByEnd", PointerSearch::Rstri, "abcabc", 5, "ABC", 0},
    {"RstriAtStart", PointerSearch::Rstri, "abc", kNone, "AbC", 0},
    {"RstriLongerThanText", PointerSearch::Rstri, "ab", kNone, "abc", kNone},
    {"RstriMissing", PointerSearch::Rstri, "abcdef", kNone, "xy", kNone},
};

// The offset of what search finds in text for needle (a character or a text), or kNone.
template <typename T, typename Needle>
int Offset(const T* text, const T* (*search)(const T*, const T*, Needle), const PointerRow& row,
           Needle needle) {
    const T* found = search(text, row.end == kNone ? nullptr : text + row.end, needle);
    return found == nullptr ? kNone : static_cast<int>(found - text);
}

class PointerSearches : public testing::TestWithParam<PointerRow> {};

TEST_P(PointerSearches, NarrowAndWide) {
    const PointerRow& row = GetParam();
    const WText text = W(row.text);
    const WText needle = W(row.needle);
    switch (row.kind) {
    case PointerSearch::Chri:
        EXPECT_EQ(Offset(row.text, rk_astr_chri, row, row.needle[0]), row.expected);
        EXPECT_EQ(Offset(text.c_str(), rk_wstr_chri, row, needle[0]), row.expected);
        break;
    case PointerSearch::Rchri:
        EXPECT_EQ(Offset(row.text, rk_astr_rchri, row, row.needle[0]), row.expected);
        EXPECT_EQ(Offset(text.c_str(), rk_wstr_rchri, row, needle[0]), row.expected);
        break;
    case PointerSearch::Stri:
        EXPECT_EQ(Offset(row.text, rk_astr_stri, row, row.needle), row.expected);
        EXPECT_EQ(Offset(text.c_str(), rk_wstr_stri, row, needle.c_str()), row.expected);
        break;
    case PointerSearch::Rstri:
        EXPECT_EQ(Offset(row.text, rk_astr_rstri, row, row.needle), row.expected);
        EXPECT_EQ(Offset(text.c_str(), rk_wstr_rstri, row, needle.c_str()), row.expected);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, PointerSearches, testing::ValuesIn(kPointerRows), Name<PointerRow>);

// upr / lwr: the text afterwards and the offset where the walk stopped.
struct CaseRow {
    const char* name;     // test name
    bool upper;           // rk_*_upr rather than rk_*_lwr
    const char* text;     // input
    int end;              // end offset, kNone for null
    const char* expected; // text afterwards
    int stop;             // offset of the result
};

const CaseRow kCaseRows[] = {
    {"UpperAsciiOnly", true, "ab\xE9z[", kNone, "AB\xE9Z[", 5},
    {"LowerAsciiOnly", false, "AB\xC9Z@", kNone, "ab\xC9z@", 5},
    {"BoundedByEnd", true, "abcd", 2, "ABcd", 2},
    {"Empty", true, "", kNone, "", 0},
};

class CaseChange : public testing::TestWithParam<CaseRow> {};

TEST_P(CaseChange, NarrowAndWide) {
    const CaseRow& row = GetParam();
    std::string narrow = row.text;
    WText wide = W(row.text);
    char* narrowEnd = row.end == kNone ? nullptr : narrow.data() + row.end;
    WCHAR* wideEnd = row.end == kNone ? nullptr : wide.data() + row.end;
    char* narrowStop = (row.upper ? rk_astr_upr : rk_astr_lwr)(narrow.data(), narrowEnd);
    WCHAR* wideStop = (row.upper ? rk_wstr_upr : rk_wstr_lwr)(wide.data(), wideEnd);
    EXPECT_EQ(narrow, row.expected);
    EXPECT_EQ(wide, W(row.expected));
    EXPECT_EQ(narrowStop - narrow.data(), row.stop);
    EXPECT_EQ(wideStop - wide.data(), row.stop);
}

INSTANTIATE_TEST_SUITE_P(Rows, CaseChange, testing::ValuesIn(kCaseRows), Name<CaseRow>);

// ncpy / ncat into a buffer of 8 filled with '#'; dst starts with before.
struct CopyRow {
    const char* name;   // test name
    bool append;        // ncat rather than ncpy
    const char* before; // dst's text before the call
    unsigned dstSize;   // room passed
    const char* src;    // source
    unsigned n;         // limit passed
    unsigned expected;  // result
    std::string after;  // the 8 characters of the buffer afterwards
};

const CopyRow kCopyRows[] = {
    {"CopyCutByRoom", false, "", 4, "abcdef", 10, 3, std::string("abc\0####", 8)},
    {"CopyCutByN", false, "", 8, "abcdef", 2, 2, std::string("ab\0#####", 8)},
    {"CopyWhole", false, "", 8, "abc", 10, 3, std::string("abc\0####", 8)},
    {"CopyNZero", false, "", 8, "abc", 0, 0, std::string("\0#######", 8)},
    {"CopyNoRoom", false, "", 0, "abc", 5, 0, std::string("\0#######", 8)},
    {"CatAppends", true, "ab", 8, "cd", 10, 4, std::string("abcd\0###", 8)},
    {"CatCutByRoom", true, "ab", 5, "cdef", 10, 4, std::string("abcd\0###", 8)},
    {"CatCutByN", true, "ab", 8, "cdef", 1, 3, std::string("abc\0####", 8)},
    {"CatNZeroTerminates", true, "ab", 8, "cd", 0, 2, std::string("ab\0#####", 8)},
    {"CatFullDestination", true, "abcd", 3, "x", 5, 2, std::string("ab\0d\0###", 8)},
    {"CatNoRoom", true, "ab", 0, "cd", 5, 0, std::string("ab\0#####", 8)},
};

class Copying : public testing::TestWithParam<CopyRow> {};

TEST_P(Copying, NarrowAndWide) {
    const CopyRow& row = GetParam();
    std::string narrow(8, '#');
    narrow.replace(0, std::string(row.before).size() + 1, std::string(row.before).c_str(),
                   std::string(row.before).size() + 1);
    WText wide = W(narrow);
    const WText src = W(row.src);
    if (row.append) {
        EXPECT_EQ(rk_astr_ncat(narrow.data(), row.dstSize, row.src, row.n), row.expected);
        EXPECT_EQ(rk_wstr_ncat(wide.data(), row.dstSize, src.c_str(), row.n), row.expected);
    } else {
        EXPECT_EQ(rk_astr_ncpy(narrow.data(), row.dstSize, row.src, row.n), row.expected);
        EXPECT_EQ(rk_wstr_ncpy(wide.data(), row.dstSize, src.c_str(), row.n), row.expected);
    }
    EXPECT_EQ(narrow, row.after);
    EXPECT_EQ(wide, W(row.after));
}

INSTANTIATE_TEST_SUITE_P(Rows, Copying, testing::ValuesIn(kCopyRows), Name<CopyRow>);

// Wildcard matching.
struct MatchRow {
    const char* name;     // test name
    const char* text;     // matched text
    const char* patterns; // pattern list
    char sep;             // separator
    bool caseSensitive;   // flag passed
    int expected;         // result
};

const MatchRow kMatchRows[] = {
    {"SecondPatternFolded", "README.TXT", "*.doc;*.txt", ';', false, 1},
    {"SecondPatternCaseSensitive", "README.TXT", "*.doc;*.txt", ';', true, 0},
    {"QuestionMarkIsOneCharacter", "ab", "a?", ';', true, 1},
    {"QuestionMarkNeedsACharacter", "a", "a?", ';', true, 0},
    {"StarMatchesEmpty", "ab", "a*b", ';', true, 1},
    {"StarBacktracks", "abcbcd", "a*bcd", ';', true, 1},
    {"WholeTextOnly", "abc", "ab", ';', true, 0},
    {"EmptyPatternMatchesEmptyText", "", "x;", ';', true, 1},
    {"EmptyPatternListMatchesEmptyText", "", "", ';', true, 1},
    {"OtherSeparator", "b.c", "a*|b*", '|', true, 1},
    {"SeparatorSplitsPatterns", "a;b", "a;b", ';', true, 0},
};

class Matching : public testing::TestWithParam<MatchRow> {};

TEST_P(Matching, NarrowAndWide) {
    const MatchRow& row = GetParam();
    EXPECT_EQ(rk_astr_match(row.text, row.patterns, row.sep, row.caseSensitive), row.expected);
    EXPECT_EQ(rk_wstr_match(W(row.text).c_str(), W(row.patterns).c_str(), WCHAR(row.sep),
                            row.caseSensitive),
              row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, Matching, testing::ValuesIn(kMatchRows), Name<MatchRow>);

// rk_str_tol: value starts as 777; consumed is the offset of the result.
struct IntegerRow {
    const char* name; // test name
    const char* text; // input
    int end;          // end offset, kNone for null
    int base;         // base passed
    long value;       // value afterwards
    int consumed;     // offset of the result
};

const IntegerRow kIntegerRows[] = {
    {"HexWithBaseZero", "  -0x1F", kNone, 0, -31, 7},
    {"OctalWithBaseZero", "017z", kNone, 0, 15, 3},
    {"DecimalWithBaseZero", "\t\r\n+42 ", kNone, 0, 42, 6},
    {"PrefixAloneGivesNothing", "0x", kNone, 16, 777, 0},
    {"PrefixSkippedInBaseTen", "0x19", kNone, 10, 19, 4},
    {"Base36Letters", "zZ", kNone, 36, 35 * 36 + 35, 2},
    {"StopsAtDigitOutsideBase", "1012", kNone, 2, 5, 3},
    {"BoundedByEnd", "12345", 3, 10, 123, 3},
    {"EndReachedBeforeDigits", "  12", 2, 10, 777, 0},
    {"NoDigits", "-x", kNone, 10, 777, 0},
    {"BaseOneRefused", "1", kNone, 1, 777, 0},
    {"Base37Refused", "1", kNone, 37, 777, 0},
    {"WrapsAt32Bits", "4294967295", kNone, 10, -1, 10},
    {"NegativeWrapsAt32Bits", "-2147483648", kNone, 10, -2147483647L - 1, 11},
};

class IntegerParsing : public testing::TestWithParam<IntegerRow> {};

TEST_P(IntegerParsing, NarrowAndWide) {
    const IntegerRow& row = GetParam();
    const WText wide = W(row.text);
    long narrowValue = 777;
    long wideValue = 777;
    const char* narrowEnd = row.end == kNone ? nullptr : row.text + row.end;
    const WCHAR* wideEnd = row.end == kNone ? nullptr : wide.c_str() + row.end;
    EXPECT_EQ(rk_str_tol(row.text, narrowEnd, narrowValue, row.base) - row.text, row.consumed);
    EXPECT_EQ(rk_str_tol(wide.c_str(), wideEnd, wideValue, row.base) - wide.c_str(), row.consumed);
    EXPECT_EQ(narrowValue, row.value);
    EXPECT_EQ(wideValue, row.value);
}

INSTANTIATE_TEST_SUITE_P(Rows, IntegerParsing, testing::ValuesIn(kIntegerRows), Name<IntegerRow>);

// rk_str_tod: value starts as 777.
struct DecimalRow {
    const char* name; // test name
    const char* text; // input
    int end;          // end offset, kNone for null
    double value;     // value afterwards
    int consumed;     // offset of the result
};

const double kInfinity = HUGE_VAL;

const DecimalRow kDecimalRows[] = {
    {"Exponent", "12.5e2", kNone, 1250.0, 6},
    {"LonePoint", ".", kNone, 777.0, 1},
    {"NegativeFraction", " -0.25x", kNone, -0.25, 6},
    {"SecondPointEnds", "1.5.5", kNone, 1.5, 3},
    {"ExponentWithoutDigits", "3e+", kNone, 3.0, 3},
    {"NegativeExponent", "25E-1", kNone, 2.5, 5},
    {"BoundedByEnd", "1234", 2, 12.0, 2},
    {"EndReachedAfterSign", "  -5", 3, 777.0, 3},
    {"AboveRangeIsInfinite", "1e1025", kNone, kInfinity, 6},
    {"NegativeAboveRange", "-1e1025", kNone, -kInfinity, 7},
    {"BelowRangeIsZero", "5e-1022", kNone, 0.0, 7},
    {"SmallestNormal", "2.2250738585072014e-308", kNone, 2.2250738585072014e-308, 23},
    {"Subnormal", "4.9406564584124654e-324", kNone, 4.9406564584124654e-324, 23},
    {"ZeroWithHugeExponent", "0e99999", kNone, 0.0, 7},
};

class DecimalParsing : public testing::TestWithParam<DecimalRow> {};

TEST_P(DecimalParsing, NarrowAndWide) {
    const DecimalRow& row = GetParam();
    const WText wide = W(row.text);
    double narrowValue = 777.0;
    double wideValue = 777.0;
    const char* narrowEnd = row.end == kNone ? nullptr : row.text + row.end;
    const WCHAR* wideEnd = row.end == kNone ? nullptr : wide.c_str() + row.end;
    EXPECT_EQ(rk_str_tod(row.text, narrowEnd, narrowValue) - row.text, row.consumed);
    EXPECT_EQ(rk_str_tod(wide.c_str(), wideEnd, wideValue) - wide.c_str(), row.consumed);
    EXPECT_DOUBLE_EQ(narrowValue, row.value);
    EXPECT_DOUBLE_EQ(wideValue, row.value);
}

INSTANTIATE_TEST_SUITE_P(Rows, DecimalParsing, testing::ValuesIn(kDecimalRows), Name<DecimalRow>);

// Splitting: the lines and next positions of successive calls until 0 or no progress.
struct LinesRow {
    const char* name;               // test name
    std::string text;               // the whole range
    std::vector<std::string> lines; // each line taken
    std::vector<unsigned> next;     // each result, the final 0 or repeated one included
};

const LinesRow kLinesRows[] = {
    {"CrLfAndLf", "a\r\nb\nc", {"a", "b", "c"}, {3, 5, 6, 0}},
    {"LoneCrAndEmptyLines", "\r\rx\r", {"", "", "x"}, {1, 2, 4, 0}},
    {"NulEndsText", std::string("ab\0cd", 5), {"ab", ""}, {2, 2}},
    {"Empty", "", {}, {0}},
};

class LineSplitting : public testing::TestWithParam<LinesRow> {};

template <typename T> void CheckLines(const std::basic_string<T>& text, const LinesRow& row) {
    const RK::CStrRangeT<T> range{text.data(), text.data() + text.size()};
    std::vector<std::string> lines;
    std::vector<unsigned> next;
    for (unsigned pos = 0;;) {
        RK::CStrRangeT<T> line{nullptr, nullptr};
        const unsigned result = rk_range_spliteline(range, pos, line);
        next.push_back(result);
        if (line.begin != nullptr)
            lines.emplace_back(line.begin, line.end);
        if (result == 0 || result == pos)
            break;
        pos = result;
    }
    EXPECT_EQ(lines, row.lines);
    EXPECT_EQ(next, row.next);
}

TEST_P(LineSplitting, NarrowAndWide) {
    CheckLines(GetParam().text, GetParam());
    CheckLines(W(GetParam().text), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rows, LineSplitting, testing::ValuesIn(kLinesRows), Name<LinesRow>);

// The UTF-8 conversions where no reference applies: room, lengths, NULs and bad input (the
// Basic Multilingual Plane and surrogates are compared with iconv in the reference suite).
struct Utf8Row {
    const char* name;    // test name
    bool toUtf8;         // UTF-16 to UTF-8 rather than back
    std::u16string wide; // the UTF-16 side: source, or the units expected
    std::string bytes;   // the UTF-8 side: the bytes expected, or source
    unsigned srcLen;     // as passed
    unsigned dstLen;     // room
};

const Utf8Row kUtf8Rows[] = {
    {"StopsBeforeSequenceThatDoesNotFit", true, u"a\u20ac", "a", 2, 3},
    {"WholeStringStopsAtNul", true, u"ab", "ab", kWhole, 4},
    {"CountedNulIsWritten", true, std::u16string(u"a\0b", 3), std::string("a\0b", 3), 3, 4},
    {"NoRoomForUtf8", true, u"", "", 1, 0},
    {"ContinuationNotValidated", false, u"\x00E9", "\xC3\x29", 2, 4},
    {"SequencePastSrcLen", false, u"a", "a\xE2\x82\xAC", 3, 4},
    {"StrayContinuationStops", false, u"a", "a\x80z", 3, 4},
    {"InvalidLeadStops", false, u"a", "a\xF8z", 3, 4},
    {"RoomLimitsUtf16", false, u"ab", "abc", 3, 2},
    {"NulInsideSequence", false, u"a", std::string("a\xE2\x82\0", 4), kWhole, 4},
};

class Utf8 : public testing::TestWithParam<Utf8Row> {};

TEST_P(Utf8, WritesNoMoreThanItCounts) {
    const Utf8Row& row = GetParam();
    if (row.toUtf8) {
        const WText src(row.wide.begin(), row.wide.end());
        std::string dst(row.dstLen + 1, '#');
        EXPECT_EQ(rk_rstr_convert(reinterpret_cast<unsigned char*>(dst.data()), row.dstLen,
                                  src.c_str(), row.srcLen),
                  row.bytes.size());
        EXPECT_EQ(dst.substr(0, row.bytes.size() + 1), row.bytes + "#");
    } else {
        WText dst(row.dstLen + 1, WCHAR('#'));
        EXPECT_EQ(rk_rstr_convert(dst.data(), row.dstLen,
                                  reinterpret_cast<const unsigned char*>(row.bytes.c_str()),
                                  row.srcLen),
                  row.wide.size());
        EXPECT_EQ(dst.substr(0, row.wide.size() + 1),
                  WText(row.wide.begin(), row.wide.end()) + WCHAR('#'));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Utf8, testing::ValuesIn(kUtf8Rows), Name<Utf8Row>);

// The expected dump row for count bytes at data.
std::string DumpRow(const unsigned char* data, unsigned count) {
    char address[16];
    std::snprintf(address, sizeof address,
                  "%08x : ", static_cast<unsigned>(reinterpret_cast<uintptr_t>(data)));
    std::string row = address;
    for (unsigned i = 0; i < 16; ++i) {
        char byte[4] = "   ";
        if (i < count)
            std::snprintf(byte, sizeof byte, "%02x ", data[i]);
        row += byte;
    }
    row += "   ";
    for (unsigned i = 0; i < count; ++i)
        row += data[i] == 0 || data[i] == '\n' ? ' ' : static_cast<char>(data[i]);
    return row + "\n";
}

TEST(HexString, RowsOfSixteenBytesAndEmptyText) {
    unsigned char data[20];
    for (unsigned i = 0; i < sizeof data; ++i)
        data[i] = static_cast<unsigned char>(i * 13 + 7);
    data[1] = 0;
    data[2] = '\n';
    RK::CHexString dump(data, sizeof data);
    EXPECT_EQ(std::string(dump), DumpRow(data, 16) + DumpRow(data + 16, 4));
    EXPECT_EQ(std::string(RK::CHexString(data, data + sizeof data)), std::string(dump));
    EXPECT_STREQ(static_cast<char*>(RK::CHexString(data, data)), "");
}

// URL coding: plain encodes to encoded (when encodes is set), and encoded decodes to
// decoded with the count given.
struct UrlRow {
    const char* name;    // test name
    bool encodes;        // plain encodes to encoded (malformed rows only decode)
    std::string plain;   // the bytes encoded
    std::string encoded; // the encoded text
    std::string decoded; // what decoding encoded writes
    int count;           // what decoding returns
};

const UrlRow kUrlRows[] = {
    {"BlankAndSlash", true, "a b/c", "a+b%2fc", "a b/c", 5},
    {"KeptCharacters", true, "AZaz09-_.", "AZaz09-_.", "AZaz09-_.", 9},
    {"HighAndNulBytes", true, std::string("\xFF\0~", 3), "%ff%00%7e", std::string("\xFF\0~", 3), 3},
    {"NothingToEncode", true, "", "", "", 0},
    {"InvalidEscapeWritesNothing", false, "", "a%4Gb", "ab", 3},
    {"UpperCaseHex", false, "", "%4A%4a", "JJ", 2},
    {"TruncatedEscapeEnds", false, "", "ab%4", "ab", 2},
    {"PercentAtEnd", false, "", "ab%", "ab", 2},
};

class UrlCoding : public testing::TestWithParam<UrlRow> {};

TEST_P(UrlCoding, EncodesAndDecodes) {
    const UrlRow& row = GetParam();
    if (row.encodes) {
        std::string encoded(3 * row.plain.size() + 1, '#');
        rka_urlenc(row.plain.data(), encoded.data(), static_cast<int>(row.plain.size()));
        EXPECT_EQ(encoded.substr(0, row.encoded.size() + 1), row.encoded + '\0');
    }
    std::string decoded(row.encoded.size() + 1, '#');
    EXPECT_EQ(rka_urldec(row.encoded.c_str(), decoded.data()), row.count);
    EXPECT_EQ(decoded.substr(0, row.decoded.size() + 1), row.decoded + '\0');
}

INSTANTIATE_TEST_SUITE_P(Rows, UrlCoding, testing::ValuesIn(kUrlRows), Name<UrlRow>);

TEST(UrlCoding, RoundTripOfEveryByteValue) {
    std::string bytes(256, '\0');
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i);
    std::string encoded(3 * bytes.size() + 1, '\0');
    rka_urlenc(bytes.data(), encoded.data(), 256);
    std::string decoded(encoded.size(), '#');
    EXPECT_EQ(rka_urldec(encoded.c_str(), decoded.data()), 256);
    EXPECT_EQ(decoded.substr(0, 256), bytes);
}

} // namespace
