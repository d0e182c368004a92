// The events of an iCalendar file as appointment notes of a Notes mail file, read and expanded
// with libical.
#pragma once

#include "install_writer.h"

#include <map>
#include <string>
#include <vector>

namespace korvo_import {

// The dates whose instances are imported, both included, as YYYYMMDD numbers.
struct Window {
    int from = 0; // first date
    int to = 0;   // last date
};

// Reads a date written YYYY-MM-DD as YYYYMMDD; false when text names no date.
bool ReadDate(const std::string& text, int& date);

// One appointment for the mail file.
struct Appointment {
    korvo_install::NoteBuilder note; // the appointment note
    int firstDay = 0;                // the date (YYYYMMDD) of its first instance in the window
    int lastDay = 0;                 // the date of its last instance there
    bool repeats = false;            // it holds time lists (Repeats "1")
};

// What a calendar file gave.
struct Calendar {
    std::vector<Appointment> appointments; // in file order
    int skipped = 0;                       // events left out (each reported)
    int errorLines = 0;                    // X-LIC-ERROR lines of the file, left out
};

class Report;

// Reads file. names maps lower-case e-mail addresses to the canonical names of the directory;
// user is the canonical name of the mail file's owner. Events that cannot be represented (no
// DTSTART, no instance in the window, a length that cannot be computed, an unknown time zone)
// are reported and counted. A problem in the file (a value libical or the date check refuses,
// a line that is no property) skips its event with all events of its UID, or its time zone, and
// leaves out a property elsewhere; an all-day series' override named by a date-time replaces
// the instance of its date; X-LIC-ERROR lines are left out. Each is reported as a problem, so
// that strict mode refuses the file instead. Throws ImportError, naming the file, the line and
// the property, for text that is no iCalendar file.
Calendar ReadCalendar(const std::string& file, const Window& window,
                      const std::map<std::string, std::string>& names, const std::string& user,
                      Report& report);

} // namespace korvo_import
