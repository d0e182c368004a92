// The toolkit's string functions: searches, case changes, copies, numbers, lines, UTF-8, hex
// dumps and URL coding. Narrow rows run through the wide forms too. Matching and decimal
// parsing are compared with fnmatch and strtod in the reference suite; matching with other
// separators, the dump's layout, the URL encoding's form and round trip, UTF-8 written into
// cut buffers and integers cut by an end are checked by the fuzz targets' replays.
#include "rk/hexdump.h"
#include "rk/lines.h"
#include "rk/numbers.h"
#include "rk/strings.h"
#include "rk/url.h"
#include "rk/utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using WText = std::basic_string<WCHAR>;
constexpr unsigned kWhole = 0xFFFFFFFFu;
constexpr int kNone = -1; // "no end pointer" or "null result" in the tables

WText W(const std::string& ascii) {
    return WText(ascii.begin(), ascii.end());
}

// The pointer offset within text, or null for kNone.
template <typename T> T* At(T* text, int offset) {
    return offset == kNone ? nullptr : text + offset;
}

// Runs check(form) twice, form(ascii) giving the narrow text and then the wide text, for the
// functions whose narrow and wide forms share a name.
template <typename Check> void InBothForms(const Check& check) {
    check([](const std::string& ascii) { return ascii; });
    check([](const std::string& ascii) { return W(ascii); });
}

// Ranged searches: n and m as passed; the index returned.
TEST(RangedSearch, NarrowAndWide) {
    struct Row {
        bool fold;          // rk_rstr_chri / rk_rstr_stri rather than the exact forms
        const char* text;   // searched text
        unsigned n;         // its length as passed
        const char* needle; // one character (chr) or the text sought (str)
        unsigned m;         // needle length for str; 0 marks a chr row
        unsigned expected;  // the index returned
    };
    const Row rows[] = {
        {false, "abc", 3, "c", 0, 2},      {false, "abc", 3, "x", 0, 3},
        {false, "abc", 2, "c", 0, 2},      {false, "ab", 9, "x", 0, 9}, // stops at the NUL
        {false, "abc", 0, "a", 0, 0},      {true, "ABC", 3, "b", 0, 1}, // folds the text
        {true, "ABC", 3, "B", 0, 3},                                    // not the needle
        {false, "abcabd", 6, "abd", 3, 3}, {false, "abc", 3, "", 3, 0},
        {false, "xabz", 4, "abc", 2, 1},   {false, "xxabc", 5, "abc", kWhole, 2},
        {false, "xxab", 3, "ab", 2, 3},    {false, "abcab", 5, "abx", 3, 5},
        {false, "abc", 3, "d", 1, 3},      {true, "xxHeLLo", 7, "hEllO", 5, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.text << " / " << row.needle << " " << row.m);
        InBothForms([&row](auto form) {
            const auto s = form(row.text);
            const auto sub = form(row.needle);
            if (row.m == 0) {
                EXPECT_EQ(row.fold ? rk_rstr_chri(s.c_str(), row.n, sub[0])
                                   : rk_rstr_chr(s.c_str(), row.n, sub[0]),
                          row.expected);
            } else {
                EXPECT_EQ(row.fold ? rk_rstr_stri(s.c_str(), row.n, sub.c_str(), row.m)
                                   : rk_rstr_str(s.c_str(), row.n, sub.c_str(), row.m),
                          row.expected);
            }
        });
    }
}

enum Kind { Chri, Rchri, Stri, Rstri }; // the pointer searches

// The pointer search of that kind, narrow and wide.
const char* Find(Kind kind, const char* text, const char* end, const char* needle) {
    return kind == Chri    ? rk_astr_chri(text, end, needle[0])
           : kind == Rchri ? rk_astr_rchri(text, end, needle[0])
           : kind == Stri  ? rk_astr_stri(text, end, needle)
                           : rk_astr_rstri(text, end, needle);
}
const WCHAR* Find(Kind kind, const WCHAR* text, const WCHAR* end, const WCHAR* needle) {
    return kind == Chri    ? rk_wstr_chri(text, end, needle[0])
           : kind == Rchri ? rk_wstr_rchri(text, end, needle[0])
           : kind == Stri  ? rk_wstr_stri(text, end, needle)
                           : rk_wstr_rstri(text, end, needle);
}

// Pointer searches, which fold both sides: the offset found or kNone.
TEST(PointerSearch, NarrowAndWide) {
    struct Row {
        Kind kind;          // the function
        const char* text;   // searched text
        int end;            // end offset, kNone for a null end
        const char* needle; // one character or the text sought
        int expected;       // offset of the result, kNone for null
    };
    const Row rows[] = {
        {Chri, "xAya", kNone, "a", 1},
        {Chri, "xyzA", 3, "a", kNone},
        {Chri, "abc", 0, "a", kNone},
        {Rchri, "xAya", kNone, "A", 3},
        {Rchri, "xAya", 3, "a", 1},
        {Stri, "Hello World!", kNone, "WORLD", 6},
        {Stri, "Hello World", kNone, "WORLDS", kNone},
        {Stri, "Hello World", 9, "world", kNone},
        {Stri, "abc", kNone, "", 0},
        {Stri, "aab", kNone, "AB", 1},
        {Rstri, "abcABCabx", kNone, "abc", 3},
        {Rstri, "abcabc", 5, "ABC", 0},
        {Rstri, "abc", kNone, "AbC", 0},
        {Rstri, "ab", kNone, "abc", kNone},
        {Rstri, "abcdef", kNone, "xy", kNone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.kind << " " << row.text << " / " << row.needle);
        InBothForms([&row](auto form) {
            const auto text = form(row.text);
            const auto* found =
                Find(row.kind, text.c_str(), At(text.c_str(), row.end), form(row.needle).c_str());
            EXPECT_EQ(found == nullptr ? kNone : static_cast<int>(found - text.c_str()),
                      row.expected);
        });
    }
}

// upr / lwr: the text afterwards and the offset where the walk stopped.
TEST(CaseChange, NarrowAndWide) {
    struct Row {
        bool upper;           // rk_*_upr rather than rk_*_lwr
        const char* text;     // input
        int end;              // end offset, kNone for null
        const char* expected; // text afterwards
        int stop;             // offset of the result
    };
    const Row rows[] = {
        {true, "ab\xE9z[", kNone, "AB\xE9Z[", 5},
        {false, "AB\xC9Z@", kNone, "ab\xC9z@", 5},
        {true, "abcd", 2, "ABcd", 2},
        {true, "", kNone, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string narrow = row.text;
        WText wide = W(row.text);
        char* narrowStop =
            (row.upper ? rk_astr_upr : rk_astr_lwr)(narrow.data(), At(narrow.data(), row.end));
        WCHAR* wideStop =
            (row.upper ? rk_wstr_upr : rk_wstr_lwr)(wide.data(), At(wide.data(), row.end));
        EXPECT_EQ(narrow, row.expected);
        EXPECT_EQ(wide, W(row.expected));
        EXPECT_EQ(narrowStop - narrow.data(), row.stop);
        EXPECT_EQ(wideStop - wide.data(), row.stop);
    }
}

// ncpy / ncat into a buffer of 8 filled with '#'; dst starts with before.
TEST(Copying, NarrowAndWide) {
    struct Row {
        bool append;        // ncat rather than ncpy
        const char* before; // dst's text before the call
        unsigned dstSize;   // room passed
        const char* src;    // source
        unsigned n;         // limit passed
        unsigned expected;  // result
        std::string after;  // the 8 characters of the buffer afterwards
    };
    const Row rows[] = {
        {false, "", 4, "abcdef", 10, 3, std::string("abc\0####", 8)},
        {false, "", 8, "abcdef", 2, 2, std::string("ab\0#####", 8)},
        {false, "", 8, "abc", 10, 3, std::string("abc\0####", 8)},
        {false, "", 8, "abc", 0, 0, std::string("\0#######", 8)},
        {false, "", 0, "abc", 5, 0, std::string("\0#######", 8)},
        {true, "ab", 8, "cd", 10, 4, std::string("abcd\0###", 8)},
        {true, "ab", 5, "cdef", 10, 4, std::string("abcd\0###", 8)},
        {true, "ab", 8, "cdef", 1, 3, std::string("abc\0####", 8)},
        {true, "ab", 8, "cd", 0, 2, std::string("ab\0#####", 8)},
        {true, "abcd", 3, "x", 5, 2, std::string("ab\0d\0###", 8)},
        {true, "ab", 0, "cd", 5, 0, std::string("ab\0#####", 8)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.before << " + " << row.src << " " << row.dstSize);
        std::string narrow(8, '#');
        narrow.replace(0, std::string(row.before).size() + 1, row.before,
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
}

// rk_str_tol: value starts as 777; consumed is the offset of the result.
TEST(IntegerParsing, NarrowAndWide) {
    struct Row {
        const char* text; // input
        int end;          // end offset, kNone for null
        int base;         // base passed
        long value;       // value afterwards
        int consumed;     // offset of the result
    };
    const Row rows[] = {
        {"  -0x1F", kNone, 0, -31, 7},
        {"017z", kNone, 0, 15, 3},
        {"\t\r\n+42 ", kNone, 0, 42, 6},
        {"0x", kNone, 16, 777, 0}, // a prefix alone gives nothing
        {"0x19", kNone, 10, 19, 4},
        {"zZ", kNone, 36, 35 * 36 + 35, 2},
        {"1012", kNone, 2, 5, 3},
        {"12345", 3, 10, 123, 3},
        {"-x", kNone, 10, 777, 0},
        {"1", kNone, 1, 777, 0},
        {"1", kNone, 37, 777, 0},
        {"4294967295", kNone, 10, -1, 10}, // wraps at 32 bits
        {"-2147483648", kNone, 10, -2147483647L - 1, 11},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.text << " base " << row.base);
        InBothForms([&row](auto form) {
            const auto text = form(row.text);
            long value = 777;
            EXPECT_EQ(rk_str_tol(text.c_str(), At(text.c_str(), row.end), value, row.base) -
                          text.c_str(),
                      row.consumed);
            EXPECT_EQ(value, row.value);
        });
    }
}

// rk_str_tod where it differs from strtod or where the random references do not reach:
// value starts as 777.
TEST(DecimalParsing, NarrowAndWide) {
    struct Row {
        const char* text; // input
        int end;          // end offset, kNone for null
        double value;     // value afterwards
        int consumed;     // offset of the result
    };
    const Row rows[] = {
        {".", kNone, 777.0, 1},
        {"1.5.5", kNone, 1.5, 3},
        {"3e+", kNone, 3.0, 3},
        {"1234", 2, 12.0, 2},
        {"  -5", 3, 777.0, 3},
        {"1e1025", kNone, HUGE_VAL, 6},
        {"-1e1025", kNone, -HUGE_VAL, 7},
        {"5e-1022", kNone, 0.0, 7},
        {"2.2250738585072014e-308", kNone, 2.2250738585072014e-308, 23},
        {"4.9406564584124654e-324", kNone, 4.9406564584124654e-324, 23},
        {"0e99999", kNone, 0.0, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        InBothForms([&row](auto form) {
            const auto text = form(row.text);
            double value = 777.0;
            EXPECT_EQ(rk_str_tod(text.c_str(), At(text.c_str(), row.end), value) - text.c_str(),
                      row.consumed);
            EXPECT_DOUBLE_EQ(value, row.value);
        });
    }
}

// Splitting: the lines and next positions of successive calls until 0 or no progress.
struct LinesRow {
    std::string text;               // the whole range
    std::vector<std::string> lines; // each line taken
    std::vector<unsigned> next;     // each result, the final 0 or repeated one included
};

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

TEST(LineSplitting, NarrowAndWide) {
    const LinesRow rows[] = {
        {"a\r\nb\nc", {"a", "b", "c"}, {3, 5, 6, 0}},
        {"\r\rx\r", {"", "", "x"}, {1, 2, 4, 0}},
        {std::string("ab\0cd", 5), {"ab", ""}, {2, 2}},
        {"", {}, {0}},
    };
    for (const LinesRow& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.text));
        InBothForms([&row](auto form) { CheckLines(form(row.text), row); });
    }
}

// The UTF-8 conversions where no reference applies: room, lengths, NULs and bad input (the
// Basic Multilingual Plane and surrogates are compared with ICU in the reference suite).
TEST(Utf8, WritesNoMoreThanItCounts) {
    struct Row {
        bool toUtf8;         // UTF-16 to UTF-8 rather than back
        std::u16string wide; // the UTF-16 side: source, or the units expected
        std::string bytes;   // the UTF-8 side: the bytes expected, or source
        unsigned srcLen;     // as passed
        unsigned dstLen;     // room
    };
    const Row rows[] = {
        {true, u"a\u20ac", "a", 2, 3}, // stops before a sequence that does not fit
        {true, u"", "", 1, 0},
        {false, u"\x00E9", "\xC3\x29", 2, 4}, // continuations are not validated
        {false, u"a", "a\xE2\x82\xAC", 3, 4},
        {false, u"a", "a\x80z", 3, 4},
        {false, u"a", "a\xF8z", 3, 4},
        {false, u"ab", "abc", 3, 2},
        {false, u"a", std::string("a\xE2\x82\0", 4), kWhole, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.bytes));
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
}

TEST(HexString, RangeFormDumpsTheSameAndEmptyRangesNothing) {
    const char data[] = "0123456789abcdef\n\0xyz";
    RK::CHexString dump(data, sizeof data);
    EXPECT_EQ(std::string(RK::CHexString(data, data + sizeof data)), std::string(dump));
    EXPECT_STREQ(static_cast<char*>(RK::CHexString(data, data)), "");
    EXPECT_STREQ(static_cast<char*>(RK::CHexString(data + 1, data)), "");
}

// URL coding: plain encodes to encoded (when encodes is set), and encoded decodes to
// decoded with the count given.
TEST(UrlCoding, EncodesAndDecodes) {
    struct Row {
        bool encodes;        // plain encodes to encoded (malformed rows only decode)
        std::string plain;   // the bytes encoded
        std::string encoded; // the encoded text
        std::string decoded; // what decoding encoded writes
        int count;           // what decoding returns
    };
    const Row rows[] = {
        {true, "a b/c", "a+b%2fc", "a b/c", 5},
        {true, "AZaz09-_.", "AZaz09-_.", "AZaz09-_.", 9},
        {true, std::string("\xFF\0~", 3), "%ff%00%7e", std::string("\xFF\0~", 3), 3},
        {false, "", "a%4Gb", "ab", 3}, // an invalid escape writes nothing
        {false, "", "%4A%4a", "JJ", 2},
        {false, "", "ab%4", "ab", 2},
        {false, "", "ab%", "ab", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.encoded);
        if (row.encodes) {
            std::string encoded(3 * row.plain.size() + 1, '#');
            rka_urlenc(row.plain.data(), encoded.data(), static_cast<int>(row.plain.size()));
            EXPECT_EQ(encoded.substr(0, row.encoded.size() + 1), row.encoded + '\0');
        }
        std::string decoded(row.encoded.size() + 1, '#');
        EXPECT_EQ(rka_urldec(row.encoded.c_str(), decoded.data()), row.count);
        EXPECT_EQ(decoded.substr(0, row.decoded.size() + 1), row.decoded + '\0');
    }
}

} // namespace
