// A started runtime whose user has tests/data/calendar/mail.nsf as mail file, in UTC or in
// New York (other zones skip the test), and the check that everything was given back.
#pragma once

#include "notesrt_testing.h"
#include "temp_install.h"

#include <gtest/gtest.h>

#include <string>

class MailCalendarTest : public testing::Test {
  protected:
    // Skips unless TZ is UTC or America/New_York.
    void SetUp() override;
    // Closes db and expects nothing open or allocated.
    void TearDown() override;

  public:
    // Installs mail.nsf (or database, when given) with extraIni in notes.ini (whose lines
    // come before MailFile=mail.nsf and so win over it), starts the runtime and opens
    // mail.nsf into db.
    void Start(const std::string& extraIni = "", const std::string& database = "");

    // The TIMEDATE of local time text "MM/DD/YYYY hh:mm:ss".
    static TIMEDATE Local(const char* text);

    // The text of a memory block, freed afterwards.
    static std::string TakeText(DHANDLE handle, size_t length);

    // The running zone as fixture file names carry it: "utc" or "new_york".
    const char* ZoneName() const { return newYork ? "new_york" : "utc"; }

    TempInstall install;  // the installation
    DBHANDLE db = 0;      // mail.nsf
    bool newYork = false; // TZ is America/New_York
};

// The content of a file under tests/data/calendar; empty when it cannot be read.
std::string CalendarFixture(const std::string& name);
