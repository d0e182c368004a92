// The toolkit's string functions: searches, case changes, copies, numbers, lines, UTF-8, hex
// dumps and URL coding, most of them on the rows of data/. Narrow rows run through the wide
// forms too. Matching and decimal parsing are compared with fnmatch and strtod in the reference
// suite; matching with other separators, the dump's layout, the URL encoding's form and round
// trip, UTF-8 written into cut buffers and integers cut by an end are checked by the fuzz
// targets' replays.
#include "toolkit_support.h"

#include "rk/hexdump.h"
#include "rk/lines.h"
#include "rk/numbers.h"
#include "rk/strings.h"
#include "rk/url.h"
#include "rk/utf8.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The pointer offset within text, or null for an offset of -1 ("no end pointer").
template <typename T> T* At(T* text, const std::string& offset) {
    return offset == "-1" ? nullptr : text + std::stoi(offset);
}

// Runs check(form) twice, form(ascii) giving the narrow text and then the wide text, for the
// functions whose narrow and wide forms share a name.
template <typename Check> void InBothForms(const Check& check) {
    check([](const std::string& ascii) { return ascii; });
    check([](const std::string& ascii) { return W(ascii); });
}

// The pointer search named kind, narrow and wide.
const char* Find(const std::string& kind, const char* text, const char* end, const char* needle) {
    return kind == "str_chri"    ? rk_astr_chri(text, end, needle[0])
           : kind == "str_rchri" ? rk_astr_rchri(text, end, needle[0])
           : kind == "str_stri"  ? rk_astr_stri(text, end, needle)
                                 : rk_astr_rstri(text, end, needle);
}
const WCHAR* Find(const std::string& kind, const WCHAR* text, const WCHAR* end,
                  const WCHAR* needle) {
    return kind == "str_chri"    ? rk_wstr_chri(text, end, needle[0])
           : kind == "str_rchri" ? rk_wstr_rchri(text, end, needle[0])
           : kind == "str_stri"  ? rk_wstr_stri(text, end, needle)
                                 : rk_wstr_rstri(text, end, needle);
}

// The ranged searches (rstr_) take bound as n and m as passed and give an index; the pointer
// searches (str_), which fold both sides, take bound as the end offset and give the offset
// found, -1 for null.
TEST(Searches, NarrowAndWide) {
    for (const Fields& row : Rows("searches.tsv")) {
        SCOPED_TRACE(testing::PrintToString(row));
        InBothForms([&row](auto form) {
            const auto s = form(row[1]);
            const auto sub = form(row[3]);
            const std::string& kind = row[0];
            if (kind.compare(0, 5, "rstr_") == 0) {
                const unsigned n = Unsigned(row[2]);
                const unsigned m = Unsigned(row[4]);
                EXPECT_EQ(kind == "rstr_chr"    ? rk_rstr_chr(s.c_str(), n, sub[0])
                          : kind == "rstr_chri" ? rk_rstr_chri(s.c_str(), n, sub[0])
                          : kind == "rstr_str"  ? rk_rstr_str(s.c_str(), n, sub.c_str(), m)
                                                : rk_rstr_stri(s.c_str(), n, sub.c_str(), m),
                          Unsigned(row[5]));
            } else {
                const auto* found = Find(kind, s.c_str(), At(s.c_str(), row[2]), sub.c_str());
                EXPECT_EQ(found == nullptr ? -1 : found - s.c_str(), std::stoi(row[5]));
            }
        });
    }
}

// upr / lwr: the text afterwards and the offset where the walk stopped.
TEST(CaseChange, NarrowAndWide) {
    for (const Fields& row : Rows("case_change.tsv")) {
        SCOPED_TRACE(testing::PrintToString(row));
        const bool upper = row[0] == "upr";
        std::string narrow = row[1];
        WText wide = W(row[1]);
        char* narrowStop =
            (upper ? rk_astr_upr : rk_astr_lwr)(narrow.data(), At(narrow.data(), row[2]));
        WCHAR* wideStop = (upper ? rk_wstr_upr : rk_wstr_lwr)(wide.data(), At(wide.data(), row[2]));
        EXPECT_EQ(narrow, row[3]);
        EXPECT_EQ(wide, W(row[3]));
        EXPECT_EQ(narrowStop - narrow.data(), std::stoi(row[4]));
        EXPECT_EQ(wideStop - wide.data(), std::stoi(row[4]));
    }
}

// ncpy / ncat into a buffer of 8 filled with '#' whose text starts as before: the result and
// the 8 characters afterwards.
TEST(Copying, NarrowAndWide) {
    for (const Fields& row : Rows("copying.tsv")) {
        SCOPED_TRACE(testing::PrintToString(row));
        const std::string& before = row[1];
        const unsigned dstSize = Unsigned(row[2]);
        const unsigned n = Unsigned(row[4]);
        std::string narrow(8, '#');
        narrow.replace(0, before.size() + 1, before.c_str(), before.size() + 1);
        WText wide = W(narrow);
        const WText src = W(row[3]);
        const bool append = row[0] == "ncat";
        EXPECT_EQ((append ? rk_astr_ncat : rk_astr_ncpy)(narrow.data(), dstSize, row[3].c_str(), n),
                  Unsigned(row[5]));
        EXPECT_EQ((append ? rk_wstr_ncat : rk_wstr_ncpy)(wide.data(), dstSize, src.c_str(), n),
                  Unsigned(row[5]));
        EXPECT_EQ(narrow, row[6]);
        EXPECT_EQ(wide, W(row[6]));
    }
}

// rk_str_tol in base, and rk_str_tod where it differs from strtod or where the random
// references do not reach: value starts as 777; consumed is the offset of the result.
TEST(NumberParsing, NarrowAndWide) {
    for (const Fields& row : Rows("numbers.tsv")) {
        SCOPED_TRACE(testing::PrintToString(row));
        InBothForms([&row](auto form) {
            const auto text = form(row[1]);
            const auto* end = At(text.c_str(), row[2]);
            const bool integral = row[0] == "tol";
            long integer = 777;
            double decimal = 777.0;
            const auto* stop = integral ? rk_str_tol(text.c_str(), end, integer, std::stoi(row[3]))
                                        : rk_str_tod(text.c_str(), end, decimal);
            EXPECT_EQ(stop - text.c_str(), std::stoi(row[5]));
            if (integral)
                EXPECT_EQ(integer, std::stol(row[4]));
            else
                EXPECT_DOUBLE_EQ(decimal, std::strtod(row[4].c_str(), nullptr));
        });
    }
}

// Splitting: the lines that successive calls take, each followed by ';', and the results
// until 0 or no progress (the final 0 or repeated one included).
template <typename T> void CheckLines(const std::basic_string<T>& text, const Fields& row) {
    const RK::CStrRangeT<T> range{text.data(), text.data() + text.size()};
    std::string lines;
    std::string results;
    for (unsigned pos = 0;;) {
        RK::CStrRangeT<T> line{nullptr, nullptr};
        const unsigned result = rk_range_spliteline(range, pos, line);
        results += std::to_string(result) + ";";
        if (line.begin != nullptr)
            lines += std::string(line.begin, line.end) + ";";
        if (result == 0 || result == pos)
            break;
        pos = result;
    }
    EXPECT_EQ(lines, row[1]);
    EXPECT_EQ(results, row[2]);
}

TEST(LineSplitting, NarrowAndWide) {
    for (const Fields& row : Rows("lines.tsv")) {
        SCOPED_TRACE(testing::PrintToString(row));
        InBothForms([&row](auto form) { CheckLines(form(row[0]), row); });
    }
}

// The UTF-8 conversions where no reference applies: room, lengths, NULs and bad input (the
// Basic Multilingual Plane and surrogates are compared with ICU in the reference suite). The
// source is wide for toUtf8 rows, the bytes otherwise; the other side is what is written.
TEST(Utf8, WritesNoMoreThanItCounts) {
    for (const Fields& row : Rows("utf8.tsv")) {
        SCOPED_TRACE(testing::PrintToString(row));
        const WText wide = Wide(row[1]);
        const std::string& bytes = row[2];
        const unsigned srcLen = Unsigned(row[3]);
        const unsigned dstLen = Unsigned(row[4]);
        if (row[0] == "toUtf8") {
            std::string dst(dstLen + 1, '#');
            EXPECT_EQ(rk_rstr_convert(reinterpret_cast<unsigned char*>(dst.data()), dstLen,
                                      wide.c_str(), srcLen),
                      bytes.size());
            EXPECT_EQ(dst.substr(0, bytes.size() + 1), bytes + "#");
        } else {
            WText dst(dstLen + 1, WCHAR('#'));
            EXPECT_EQ(rk_rstr_convert(dst.data(), dstLen,
                                      reinterpret_cast<const unsigned char*>(bytes.c_str()),
                                      srcLen),
                      wide.size());
            EXPECT_EQ(dst.substr(0, wide.size() + 1), wide + WCHAR('#'));
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

// URL coding: plain encodes to encoded (rows without plain only decode), and encoded decodes
// to decoded with the count given.
TEST(UrlCoding, EncodesAndDecodes) {
    for (const Fields& row : Rows("url.tsv")) {
        SCOPED_TRACE(testing::PrintToString(row));
        const std::string& plain = row[0];
        const std::string& encoded = row[1];
        if (!plain.empty()) {
            std::string written(3 * plain.size() + 1, '#');
            rka_urlenc(plain.data(), written.data(), static_cast<int>(plain.size()));
            EXPECT_EQ(written.substr(0, encoded.size() + 1), encoded + '\0');
        }
        std::string decoded(encoded.size() + 1, '#');
        EXPECT_EQ(rka_urldec(encoded.c_str(), decoded.data()), std::stoi(row[3]));
        EXPECT_EQ(decoded.substr(0, row[2].size() + 1), row[2] + '\0');
    }
}

} // namespace
