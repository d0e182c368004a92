// ByteBuffer, which holds a contact record's UNID and photo for the host: copies own their
// bytes, Assign replaces them, an empty Assign leaves no block.
#include "KorvoLotusC.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const uint8_t kBytes[] = {0x00, 0x01, 0xfe, 0xff, 0x7f};

TEST(ByteBufferTest, CopiesOwnTheirBytes) {
    ByteBuffer original;
    original.Assign(sizeof kBytes, kBytes);
    ByteBuffer copy = original;
    ByteBuffer assigned;
    assigned.Assign(2, kBytes);
    assigned = original;
    const ByteBuffer& same = assigned;
    assigned = same;
    for (const ByteBuffer* buffer : {&copy, &assigned}) {
        ASSERT_EQ(buffer->Size(), sizeof kBytes);
        EXPECT_NE(buffer->Data(), original.Data());
        EXPECT_EQ(std::memcmp(buffer->Data(), kBytes, sizeof kBytes), 0);
    }

    original.Assign(1, kBytes + 2);
    ASSERT_EQ(original.Size(), 1u);
    EXPECT_EQ(original.Data()[0], 0xfe);
    original.Assign(0, kBytes);
    EXPECT_EQ(original.Size(), 0u);
    EXPECT_EQ(original.Data(), nullptr);
    EXPECT_EQ(std::memcmp(copy.Data(), kBytes, sizeof kBytes), 0);
}

} // namespace
