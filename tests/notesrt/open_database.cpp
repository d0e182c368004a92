// A started runtime with notes.nsf open.
#include "open_database.h"

void OpenDatabaseTest::SetUp() {
    install.WriteStandard();
    install.CopyFixture("notes.nsf", "data/notes.nsf");
    ASSERT_EQ(install.Start(), 0);
    ASSERT_EQ(NSFDbOpen("notes.nsf", &db), 0);
}

void OpenDatabaseTest::TearDown() {
    NotesrtSetFaults(nullptr);
    EXPECT_EQ(NSFDbClose(db), 0);
    const NotesrtCounts counts = Counts();
    EXPECT_EQ(counts.databases, 0u);
    EXPECT_EQ(counts.notes, 0u);
    EXPECT_EQ(counts.mimeDirectories, 0u);
    EXPECT_EQ(counts.memoryAllocated, 0u);
    EXPECT_EQ(counts.memoryLocked, 0u);
}

NOTEHANDLE OpenDatabaseTest::Open(NOTEID noteId, uint32_t flags) const {
    NOTEHANDLE note = 0;
    EXPECT_EQ(NSFNoteOpenExt(db, noteId, flags, &note), 0);
    return note;
}

NotesrtCounts OpenDatabaseTest::Counts() {
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    return counts;
}

std::string BlockBytes(DHANDLE handle, uint32_t length) {
    const char* bytes = static_cast<const char*>(OSLockObject(handle));
    if (bytes == nullptr)
        return "<invalid handle>";
    std::string copy(bytes, length);
    OSUnlockObject(handle);
    return copy;
}
