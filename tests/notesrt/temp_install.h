// A Notes installation in a temporary folder, removed with the object; a started runtime with
// one database open; helpers the suites share.
#pragma once

#include "data_file.h"
#include "data_rows.h"
#include "notesapi.h"
#include "notesrt_testing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// A row of a tab-separated file of tests/notesrt/data, its name first.
using Row = std::vector<std::string>;

using korvo_test::FileBytes;
using korvo_test::FirstField;

// The path of a fixture under tests/data/notesrt.
std::filesystem::path FixturePath(const std::string& fixture);
// The runtime's text for status.
std::string StatusText(STATUS status);
// The counts of what the runtime has open now.
NotesrtCounts Counts();
// The bytes of a memory block (locked and unlocked again).
std::string BlockBytes(DHANDLE handle, uint32_t length);
// Seconds since 1970 of a TIMEDATE, from its ticks and Julian day.
int64_t UtcSeconds(const TIMEDATE& time);
// A time read from text in the default form (local time of the process).
TIMEDATE LocalTime(const char* text);
// The rows of tests/notesrt/data/<file>.
std::vector<Row> DataFile(const std::string& file);
// TZ when it is a zone the time expectations name (UTC, America/New_York); else empty (the
// test skips).
std::string ZoneUnderTest();

class TempInstall {
  public:
    // Creates an empty folder under the system's temporary directory.
    TempInstall();
    // Resets the runtime (stopping it) and removes the folder.
    ~TempInstall();
    TempInstall(const TempInstall&) = delete;
    TempInstall& operator=(const TempInstall&) = delete;

    // Writes content to the file at relative (folders created as needed).
    void Write(const std::string& relative, const std::string& content) const;
    // The standard installation: notes.ini (Directory=data, KeyFileName=user.id, extraIni
    // appended) and data/user.id naming "CN=Ann Lee/O=Acme".
    void WriteStandard(const std::string& extraIni = "") const;
    // Starts the runtime with the folder as program directory and "=<folder>/notes.ini".
    STATUS Start() const;
    // The content of the file at relative.
    std::string Read(const std::string& relative) const;

    std::filesystem::path root; // the temporary folder
};

// A started runtime with one database open; TearDown closes it and expects nothing else to be
// open or allocated.
class OpenDatabaseTest : public testing::Test {
  protected:
    // Installs content as data/<file> (extraIni appended to notes.ini), starts the runtime and
    // opens the file into db.
    void OpenWith(const std::string& file, const std::string& content,
                  const std::string& extraIni = "");
    void TearDown() override;
    // Opens the note noteId with flags, failing the test when it does not open.
    NOTEHANDLE Open(NOTEID noteId, uint32_t flags = 0) const;

    TempInstall install; // the installation
    DBHANDLE db = 0;     // the database opened
};

// tests/data/notesrt/notes.nsf open.
class NotesDatabaseTest : public OpenDatabaseTest {
  protected:
    void SetUp() override { OpenWith("notes.nsf", FileBytes(FixturePath("notes.nsf"))); }
};
