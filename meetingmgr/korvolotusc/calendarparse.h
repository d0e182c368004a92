// Splitting the calendar export (iCalendar text, as the runtime gives it) into
// CalendarEventEntry records. Lines end in CR LF and are taken one by one: folded
// continuation lines are lines of their own, lines of 256 characters or more are logged and
// skipped, and text after END:VCALENDAR or after the last CR LF is not read. Only UID,
// RECURRENCE-ID, X-LOTUS-ORGANIZER, X-LOTUS-UNID and X-LOTUS-APPTTYPE are kept, and only
// when written without parameters.
#pragma once

#include "calendarentry.h"

#include <cstddef>
#include <vector>

// Parses the calendar text in the memory block handle (length bytes) and frees the block,
// which the caller no longer owns afterwards. Appends one entry per complete VEVENT to
// entries, in text order. Handle 0 is logged and appends nothing.
void ParseCalendarData(DHANDLE handle, uint16_t length, std::vector<CalendarEventEntry>& entries);

// As ParseCalendarData, for length bytes of text already read (the caller keeps the text).
void ParseCalendarText(const char* text, size_t length, std::vector<CalendarEventEntry>& entries);

// Applies one content line ("NAME:value") to entry. A line without a value is logged and
// changes nothing. A value longer than its field holds is logged and cut to fit.
void ParseCalendarEventItem(const char* line, CalendarEventEntry& entry);
