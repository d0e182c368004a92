// The appointments of a mail database: single ones and the instances of repeating ones, as
// the calendar export, the calendar note lookup and the free/busy service see them.
#pragma once

#include "model.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace notesrt {

// One appointment time: a single appointment, or one instance of a repeating one.
struct Occurrence {
    size_t position = 0;   // the note's position in the database
    bool instance = false; // an instance of a repeating appointment
    TIMEDATE start = {};   // when it starts
    TIMEDATE end = {};     // when it ends; the start when the note gives no later end
    int64_t startAt = 0;   // start in hundredths of a second since 1970-01-01 00:00 UTC
    int64_t endAt = 0;     // end, likewise
};

// Hundredths of a second since 1970-01-01 00:00 UTC of time; false when it is not a valid
// time.
bool InstantOf(const TIMEDATE& time, int64_t& hundredths);

// True for a document whose Form is "Appointment" (compared ignoring case).
bool IsAppointment(const Model& db, const NoteRecord& note);

// True for an appointment whose Repeats item is "1".
bool IsRepeating(const Model& db, const NoteRecord& note);

// The text of the note's first item named name: a text, the first entry of a text list, or
// the decimal form of a whole number. Empty when there is none.
std::string ItemTextOf(const Model& db, const NoteRecord& note, std::string_view name);

// The UID the calendar gives the appointment: its ApptUNID item, else its UNID as 32
// hexadecimal digits.
std::string UidOf(const Model& db, const NoteRecord& note);

// The times of the appointment at position: one for a single appointment, one per instance
// of a repeating one, in list order. None when it has no valid start.
std::vector<Occurrence> OccurrencesOf(const Model& db, size_t position);

// The appointments of a database, computed once per model.
struct Calendar {
    std::vector<Occurrence> occurrences; // every occurrence, by start (then note and instance)
    std::vector<std::pair<std::string, size_t>> byUid; // appointment positions by UID, in order
};

// The appointments of db.
std::shared_ptr<const Calendar> CalendarOf(const Model& db);

} // namespace notesrt
