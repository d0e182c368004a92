// The calendar entry suite: a Notes installation whose mail file is
// tests/data/calendar/mail.nsf (schedule lists of one entry each), with the runtime started
// and the mail database open. Each case runs under the faults it names and gives back what
// it read and what was logged; afterwards the runtime must hold nothing.
#pragma once

#include "calendarentry.h"
#include "notes_installation.h"
#include "notesapi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvo_test {

class MailCaseTest;

// One case: what it does, what that returns and what is logged.
struct MailCase {
    const char* name;                  // the case's name
    const char* faults;                // runtime calls failed by injection; null for none
    std::string (*run)(MailCaseTest&); // the case; returns what it read, as text
    std::string out;                   // what run returns
    std::vector<std::string> logged;   // the messages; the error handler's show as their labels
};

class MailCaseTest : public ::testing::TestWithParam<MailCase> {
  public:
    // The local time of text "MM/DD/YYYY hh:mm:ss".
    static TIMEDATE Local(const char* text);

    // The entries, one a line: "fromSchedule/apptType" and the last three digits of the
    // UNID, then the UID and the recurrence ID when they are set.
    static std::string Describe(const std::vector<CalendarEventEntry>& entries);

    NotesInstallation m_installation{
        {"MailFile=mail.nsf", "NotesrtSchedulePiece=1"}}; // the installation
    DBHANDLE m_db = NULLHANDLE;                           // mail.nsf

  protected:
    void SetUp() override;
    void TearDown() override;
};

// The case's name, for test names.
std::string MailCaseName(const ::testing::TestParamInfo<MailCase>& info);

} // namespace korvo_test
