// The notes data suite: a Notes installation whose mail.nsf is tests/data/notesdata/mail.nsf
// plus notes made here with texts too long for a fixture file and an attendee list. Each case runs
// with the runtime started and the database open, under the faults it names; afterwards every note
// and the database are closed and the runtime must hold nothing.
#pragma once

#include "notesmailcalendar.h"
#include "runtime_case.h"

#include "platform/wintypes.h"

#include <string>
#include <vector>

namespace korvo_test {

constexpr NOTEID kLongTextsNote = 200; // items "Fit", "Full", "Double" and a long "Body"
constexpr NOTEID kLongMimeNote = 204;  // one text/plain part of 70000 bytes
constexpr NOTEID kLongTimesNote = 208; // "StartDateTime" with 3360 times
constexpr NOTEID kAttendeesNote = 212; // "RequiredAttendees": kCyrillicName;CN=Bo Chen/O=Acme
// "CN=Павел Орлов/O=Acme" in UTF-8; in LMBCS its л holds a ";" byte.
constexpr char kCyrillicName[] =
    "CN=\u041F\u0430\u0432\u0435\u043B \u041E\u0440\u043B\u043E\u0432/O=Acme";

class NotesDataTest;
using Case = RuntimeCase<NotesDataTest>;

class NotesDataTest : public ::testing::TestWithParam<Case> {
  public:
    // Opens a note of the database; it is closed at the end of the case.
    NOTEHANDLE OpenNote(NOTEID noteId, uint32_t flags = 0);

    NotesInstallation m_installation; // the temporary installation
    DBHANDLE m_db = NULLHANDLE;       // mail.nsf
    std::vector<NOTEHANDLE> m_notes;  // notes opened by OpenNote
    CNotesCalendar m_calendar;        // with its text buffer
    // A body buffer, not cleared, so that text left unterminated runs on into the fill (the
    // string's own NUL stops it).
    std::string m_body = std::string(kBodyBufferSize, '#');

  protected:
    void SetUp() override;
    void TearDown() override;
};

// The FILETIME of a UTC day of 2026 at 15:30.
FILETIME DayAt1530(unsigned month, unsigned day);

} // namespace korvo_test
