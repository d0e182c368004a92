// The current user's free/busy schedule: busy appointments that began before a range and
// still run at its start, which the calendar export of the range does not list.
#pragma once

#include "calendarentry.h"
#include "notesapi.h"

#include <vector>

// Asks the free/busy service for the current user's busy times over range (its start and
// end) and appends to entries one entry per busy appointment that starts before the range
// starts and ends after it, unless entries already hold its UNID: fromSchedule 1, apptType
// 5 and the UNID, all else empty. Failures are logged and add nothing.
void GetMatchedScheduledList(const TIMEDATE_PAIR& range, std::vector<CalendarEventEntry>& entries);

// Appends the matching entries of one schedule list block (as Schedule_ExtractSchedList
// gives it) to entries as GetMatchedScheduledList does, then frees the block, which the
// caller no longer owns. Handle 0 is logged and adds nothing.
void ParseMatchedScheduleEntries(const TIMEDATE_PAIR& range, DHANDLE list,
                                 std::vector<CalendarEventEntry>& entries);
