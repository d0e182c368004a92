// rk_str_convert at the edges of its buffers, and the four forms of RK::_cstring_set, on the
// rows of data/.
#include "toolkit_support.h"

#include "rk/convert.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each form of rk_str_convert: from and to are "wide" or code pages; dst is filled with '#'
// before the call and one guard unit beyond the room must stay untouched.
TEST(Conversion, AtTheEdgesOfTheBuffers) {
    for (const Fields& row : Rows("conversions.tsv")) {
        SCOPED_TRACE(row[0] + " from " + row[1] + " to " + row[2]);
        const std::string& src = row[3];
        const unsigned srcLen = Unsigned(row[4]);
        const unsigned dstLen = Unsigned(row[5]);
        if (row[2] == "wide") {
            WText dst(dstLen + 1, '#');
            EXPECT_EQ(rk_str_convert(std::stoi(row[1]), dst.data(), dstLen, src.c_str(), srcLen),
                      Unsigned(row[6]));
            EXPECT_EQ(dst, Wide(row[7]) + WCHAR('#'));
            continue;
        }
        std::string dst(dstLen + 1, '#');
        if (row[1] == "wide") {
            EXPECT_EQ(
                rk_str_convert(std::stoi(row[2]), dst.data(), dstLen, Wide(src).c_str(), srcLen),
                Unsigned(row[6]));
        } else {
            EXPECT_EQ(rk_str_convert(std::stoi(row[2]), dst.data(), dstLen, std::stoi(row[1]),
                                     src.c_str(), srcLen),
                      Unsigned(row[6]));
        }
        EXPECT_EQ(dst, row[7] + "#");
    }
}

// Every form of _cstring_set treats ASCII text alike (a src of "(null)" passes null).
TEST(CStringSet, AllFormsAlike) {
    for (const Fields& row : Rows("cstring_set.tsv")) {
        SCOPED_TRACE(row[0]);
        const std::string& before = row[1];
        const unsigned pos = Unsigned(row[2]);
        const bool null = row[3] == "(null)";
        const char* narrow = null ? nullptr : row[3].c_str();
        const unsigned len = Unsigned(row[4]);
        // The source widened unit by unit: len bytes, or through the NUL for the whole string.
        const WText wideSrc(row[3].c_str(),
                            row[3].c_str() + (len == RK::kWholeString ? row[3].size() + 1 : len));
        const WCHAR* wide = null ? nullptr : wideSrc.c_str();
        std::string narrowDst = before;
        RK::_cstring_set(narrowDst, pos, narrow, len);
        EXPECT_EQ(narrowDst, row[5]);
        WText wideDst = W(before);
        RK::_cstring_set(wideDst, pos, wide, len);
        EXPECT_EQ(wideDst, W(row[5]));
        wideDst = W(before);
        RK::_cstring_set(wideDst, pos, narrow, len);
        EXPECT_EQ(wideDst, W(row[5]));
        narrowDst = before;
        RK::_cstring_set(narrowDst, pos, wide, len);
        EXPECT_EQ(narrowDst, row[5]);
    }
}

// Conversions through the ANSI code page, taken to be Windows-1252.
TEST(CStringSet, ThroughTheAnsiCodePage) {
    if (platform::GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page is " << platform::GetACP();
    for (const Fields& row : Rows("cstring_set_ansi.tsv")) {
        SCOPED_TRACE(row[0]);
        const unsigned pos = Unsigned(row[2]);
        const unsigned len = Unsigned(row[5]);
        std::string narrowDst = row[1];
        RK::_cstring_set(narrowDst, pos, Wide(row[4]).c_str(), len);
        EXPECT_EQ(narrowDst, row[6]);
        WText wideDst = W(row[1]);
        RK::_cstring_set(wideDst, pos, row[3].c_str(), len);
        EXPECT_EQ(wideDst, Wide(row[7]));
    }
}

} // namespace
