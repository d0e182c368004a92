// korvo-import: a calendar (iCalendar) and a directory (vCard) into a Notes installation for the
// substitute runtime.
#pragma once

#include "calendar.h"

#include <ostream>
#include <string>

namespace korvo_import {

// The address books the people go to.
enum class PeopleBook {
    Local,  // the user's own (personal contacts, found by every operation)
    Server, // the mail server's (an organisation's directory)
    Both,   // both of them
};

// What to import, and where.
struct Options {
    std::string out;                           // the installation folder
    bool replace = false;                      // an existing installation there may be replaced
    Window window;                             // the dates whose instances are imported
    std::string user = "CN=Ann Lee/O=Acme";    // the owner of the mail file
    std::string server = "CN=Mail1/O=Acme";    // the mail server, holding the directory
    std::string calendar;                      // iCalendar file; empty: none
    std::string people;                        // vCard file; empty: none
    PeopleBook peopleBook = PeopleBook::Local; // where the people go
    bool strict = false;                       // refuse the files on their first problem
};

// What was written.
struct Summary {
    size_t people = 0;       // people imported
    size_t appointments = 0; // appointment notes in the mail file
    size_t repeating = 0;    // of them with time lists
    int skipped = 0;         // events left out
    int skippedCards = 0;    // cards left out
    int errorLines = 0;      // X-LIC-ERROR lines left out
    int firstDay = 0;        // the earliest instance's date (YYYYMMDD); 0 without appointments
    int lastDay = 0;         // the latest instance's date (YYYYMMDD); 0 without appointments
};

// Reads both files completely, then writes the installation: the people into the address
// book(s) options.peopleBook names, the user's own person document (from the cards, or made
// from the name) into both books, the appointments into the user's mail file. Problems with
// single events and cards go to warnings (see Report; strict mode refuses instead). Throws
// ImportError for bad input and korvo_install::WriteError when the installation cannot be
// written; either way nothing is left behind.
Summary Import(const Options& options, std::ostream& warnings);

} // namespace korvo_import
