// Memory handles and text lists, with the runtime's accounting.
#include "notesrt_testing.h"
#include "temp_install.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class MemoryTest : public testing::Test {
  protected:
    void SetUp() override {
        install.WriteStandard();
        ASSERT_EQ(install.Start(), 0);
    }

    static NotesrtCounts Counts() {
        NotesrtCounts counts;
        NotesrtGetCounts(&counts);
        return counts;
    }

    TempInstall install; // the installation the runtime runs on
};

TEST_F(MemoryTest, CountsAllocatedAndLockedHandles) {
    DHANDLE handle = 0;
    ASSERT_EQ(OSMemAlloc(0, 100, &handle), 0);
    EXPECT_EQ(Counts().memoryAllocated, 1u);
    EXPECT_EQ(Counts().memoryLocked, 0u);
    auto* bytes = static_cast<char*>(OSLockObject(handle));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(OSLockObject(handle), bytes);
    EXPECT_EQ(Counts().memoryLocked, 1u);
    EXPECT_EQ(OSUnlockObject(handle), 1);
    EXPECT_EQ(OSUnlockObject(handle), 0);
    EXPECT_EQ(OSUnlockObject(handle), 0);
    EXPECT_EQ(NotesrtMemLockCount(handle), 0);
    uint32_t size = 0;
    EXPECT_EQ(OSMemGetSize(handle, &size), 0);
    EXPECT_EQ(size, 100u);
    EXPECT_EQ(OSMemFree(handle), 0);
    EXPECT_NE(OSMemFree(handle), 0);
    EXPECT_EQ(Counts().memoryAllocated, 0u);
}

TEST_F(MemoryTest, HandleZeroDoesNothing) {
    EXPECT_EQ(OSLockObject(NULLHANDLE), nullptr);
    EXPECT_EQ(OSUnlockObject(NULLHANDLE), 0);
    EXPECT_EQ(OSMemFree(NULLHANDLE), 0);
    DHANDLE huge = 0;
    EXPECT_NE(OSMemAlloc(0, 0x20000000u, &huge), 0);
    EXPECT_EQ(huge, 0u);
}

// The entries of a list, read from its block.
std::vector<std::string> ListTexts(DHANDLE handle, bool prefixed) {
    const auto* bytes = static_cast<const char*>(OSLockObject(handle));
    const char* list = bytes + (prefixed ? 2 : 0);
    uint16_t count;
    std::memcpy(&count, list, 2);
    std::vector<std::string> texts;
    const char* text = list + 2 + 2 * count;
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t length;
        std::memcpy(&length, list + 2 + 2 * i, 2);
        texts.emplace_back(text, length);
        text += length;
    }
    OSUnlockObject(handle);
    return texts;
}

class ListTest : public MemoryTest, public testing::WithParamInterface<bool> {};

TEST_P(ListTest, AllocatesLockedAndAddsEntriesInPlace) {
    const bool prefixed = GetParam();
    DHANDLE list = 0;
    void* pointer = nullptr;
    uint16_t size = 0;
    ASSERT_EQ(ListAllocate(0, 0, prefixed, &list, &pointer, &size), 0);
    EXPECT_EQ(NotesrtMemLockCount(list), 1);
    EXPECT_EQ(Counts().memoryLocked, 1u);
    EXPECT_EQ(size, prefixed ? 4 : 2);
    if (prefixed) {
        uint16_t type;
        std::memcpy(&type, pointer, 2);
        EXPECT_EQ(type, TYPE_TEXT_LIST);
    }
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 0, "bb", 2), 0);
    EXPECT_EQ(NotesrtMemLockCount(list), 1);
    OSUnlockObject(list);
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 0, "a", 1), 0);
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 2, "dddd", 4), 0);
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 2, "", 0), 0);
    EXPECT_EQ(NotesrtMemLockCount(list), 0);
    EXPECT_NE(ListAddEntry(list, prefixed, &size, 9, "x", 1), 0);
    EXPECT_EQ(size, (prefixed ? 2 : 0) + 2 + 4 * 2 + 7);
    EXPECT_EQ(ListTexts(list, prefixed), (std::vector<std::string>{"a", "bb", "", "dddd"}));
    EXPECT_EQ(OSMemFree(list), 0);
    EXPECT_EQ(Counts().memoryAllocated, 0u);
}

INSTANTIATE_TEST_SUITE_P(Prefix, ListTest, testing::Bool());

TEST_F(MemoryTest, ListOnAForeignHandleFails) {
    uint16_t size = 2;
    EXPECT_NE(ListAddEntry(0x12345678u, 0, &size, 0, "a", 1), 0);
    DHANDLE small = 0;
    ASSERT_EQ(OSMemAlloc(0, 1, &small), 0);
    EXPECT_NE(ListAddEntry(small, 0, &size, 0, "a", 1), 0);
    EXPECT_EQ(OSMemFree(small), 0);
}

} // namespace
