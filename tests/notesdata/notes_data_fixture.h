// A Notes installation whose mail.nsf is tests/data/notesdata/mail.nsf plus notes made here
// with texts too long for a fixture file. Each test starts the runtime with the database
// open; at the end every note and the database are closed and the runtime must hold nothing.
#pragma once

#include "notes_installation.h"
#include "notesapi.h"
#include "platform/wintypes.h"
#include "trace_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvo_test {

// Note IDs of the generated notes.
constexpr NOTEID kLongTextsNote = 200; // items "Fit", "Full", "Double" and a long "Body"
constexpr NOTEID kLongMimeNote = 204;  // one text/plain part of 70000 bytes
constexpr NOTEID kLongTimesNote = 208; // "StartDateTime" with 3360 times

class NotesDataTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a note of the database; it is closed at the end of the test.
    NOTEHANDLE OpenNote(NOTEID noteId, uint32_t flags = 0);

    NotesInstallation m_installation; // the temporary installation
    DBHANDLE m_db = NULLHANDLE;       // mail.nsf, open during each test
    std::vector<NOTEHANDLE> m_notes;  // notes opened through OpenNote
};

// The FILETIME of a UTC day at 15:30.
FILETIME DayAt1530(int year, unsigned month, unsigned day);

// The labels of the failures the error handler logged, in order.
std::vector<std::string> ReportedLabels(const std::vector<TraceLine>& trace);

// The messages of trace, in order.
std::vector<std::string> Messages(const std::vector<TraceLine>& trace);

} // namespace korvo_test
