// Automation strings: the memory layout hosts rely on (length prefix, text, NUL).
#include "helpers.h"

#include "platform/oleauto.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(BstrTest, HasPrefixTextAndTerminator) {
    struct Row {
        BSTR s;                     // the string under test, freed here
        std::vector<uint8_t> block; // the bytes from the prefix through the terminator
        uint32_t units;             // SysStringLen
    };
    const Row rows[] = {
        {platform::SysAllocString(W(u"ab\u20AC").c_str()),
         {6, 0, 0, 0, 'a', 0, 'b', 0, 0xAC, 0x20, 0, 0},
         3},
        {platform::SysAllocString(W(u"").c_str()), {0, 0, 0, 0, 0, 0}, 0},
        {platform::SysAllocStringLen(W(u"abc").c_str(), 2), {4, 0, 0, 0, 'a', 0, 'b', 0, 0, 0}, 2},
        {platform::SysAllocStringLen(W(std::u16string_view(u"a\0b", 3)).c_str(), 3),
         {6, 0, 0, 0, 'a', 0, 0, 0, 'b', 0, 0, 0},
         3},
        {platform::SysAllocStringLen(nullptr, 2), {4, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2},
        {platform::SysAllocStringByteLen("xyz", 3), {3, 0, 0, 0, 'x', 'y', 'z', 0, 0}, 1},
        {platform::SysAllocStringByteLen("\x80", 1), {1, 0, 0, 0, 0x80, 0, 0}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.block));
        ASSERT_NE(row.s, nullptr);
        std::vector<uint8_t> block(row.block.size());
        std::memcpy(block.data(), reinterpret_cast<const uint8_t*>(row.s) - 4, block.size());
        EXPECT_EQ(block, row.block);
        EXPECT_EQ(platform::SysStringByteLen(row.s), row.block.size() - 6);
        EXPECT_EQ(platform::SysStringLen(row.s), row.units);
        platform::SysFreeString(row.s);
    }
}

TEST(BstrTest, NullStringsHaveNoLength) {
    EXPECT_EQ(platform::SysAllocString(nullptr), nullptr);
    EXPECT_EQ(platform::SysStringLen(nullptr) + platform::SysStringByteLen(nullptr), 0u);
    platform::SysFreeString(nullptr);
}

} // namespace
