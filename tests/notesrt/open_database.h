// A started runtime with notes.nsf open, and the check that everything was given back.
#pragma once

#include "notesrt_testing.h"
#include "temp_install.h"

#include <gtest/gtest.h>

#include <string>

class OpenDatabaseTest : public testing::Test {
  protected:
    // Installs notes.nsf as data/notes.nsf, starts the runtime and opens it into db.
    void SetUp() override;
    // Closes db and expects nothing else to be open or allocated.
    void TearDown() override;

    // Opens the note noteId with flags, failing the test when it does not open.
    NOTEHANDLE Open(NOTEID noteId, uint32_t flags = 0) const;

    // The counts of what is open now.
    static NotesrtCounts Counts();

    TempInstall install; // the installation
    DBHANDLE db = 0;     // notes.nsf
};

// The bytes of a memory block (locked and unlocked again).
std::string BlockBytes(DHANDLE handle, uint32_t length);
