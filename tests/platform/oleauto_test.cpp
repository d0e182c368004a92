// Automation strings: the memory layout hosts rely on (length prefix, text, NUL).
#include "row_label.h"
#include "wide_text.h"

#include "platform/oleauto.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

struct LayoutRow {
    const char* label;
    std::function<BSTR()> make; // allocates the string under test
    std::vector<uint8_t> block; // the bytes from the prefix through the terminator
    uint32_t units;             // SysStringLen
};

class BstrLayoutTest : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(BstrLayoutTest, HasPrefixTextAndTerminator) {
    const LayoutRow& row = GetParam();
    BSTR s = row.make();
    ASSERT_NE(s, nullptr);
    std::vector<uint8_t> block(row.block.size());
    std::memcpy(block.data(), reinterpret_cast<const uint8_t*>(s) - 4, block.size());
    EXPECT_EQ(block, row.block);
    EXPECT_EQ(platform::SysStringByteLen(s), row.block.size() - 6);
    EXPECT_EQ(platform::SysStringLen(s), row.units);
    platform::SysFreeString(s);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BstrLayoutTest,
    ::testing::Values(LayoutRow{"Text",
                                [] { return platform::SysAllocString(W(u"ab\u20AC").c_str()); },
                                {6, 0, 0, 0, 'a', 0, 'b', 0, 0xAC, 0x20, 0, 0},
                                3},
                      LayoutRow{"Empty",
                                [] { return platform::SysAllocString(W(u"").c_str()); },
                                {0, 0, 0, 0, 0, 0},
                                0},
                      LayoutRow{"Prefix",
                                [] { return platform::SysAllocStringLen(W(u"abc").c_str(), 2); },
                                {4, 0, 0, 0, 'a', 0, 'b', 0, 0, 0},
                                2},
                      LayoutRow{"EmbeddedNul",
                                [] {
                                    return platform::SysAllocStringLen(
                                        W(std::u16string_view(u"a\0b", 3)).c_str(), 3);
                                },
                                {6, 0, 0, 0, 'a', 0, 0, 0, 'b', 0, 0, 0},
                                3},
                      LayoutRow{"Zeroed",
                                [] { return platform::SysAllocStringLen(nullptr, 2); },
                                {4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                2},
                      LayoutRow{"OddBytes",
                                [] { return platform::SysAllocStringByteLen("xyz", 3); },
                                {3, 0, 0, 0, 'x', 'y', 'z', 0, 0},
                                1},
                      LayoutRow{"OneByte",
                                [] { return platform::SysAllocStringByteLen("\x80", 1); },
                                {1, 0, 0, 0, 0x80, 0, 0},
                                0}),
    RowLabel());

TEST(BstrTest, NullStringsHaveNoLength) {
    EXPECT_EQ(platform::SysAllocString(nullptr), nullptr);
    EXPECT_EQ(platform::SysStringLen(nullptr) + platform::SysStringByteLen(nullptr), 0u);
    platform::SysFreeString(nullptr);
}

} // namespace
