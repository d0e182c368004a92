// Conversions between Windows times and the runtime's TIMEDATE values, time items of notes,
// and appointment durations. Times given as SYSTEMTIME or FILETIME are read as local time of
// the runtime's zone unless said otherwise.
#pragma once

#include "notesapi.h"
#include "notesmailcalendar.h"

#include "platform/wintypes.h"

#include <cstddef>
#include <cstdint>

// Bytes of a date text buffer for GetNoteTimeString: 80 characters and a NUL.
constexpr size_t kNoteTimeStringSize = 81;

// Converts the date and time fields of time (day of week and milliseconds are not used)
// into *out. Returns 1 on success, 0 when the runtime cannot convert them (reported).
int ConvertSYSTEMTIMEToNotesLocalTime(const SYSTEMTIME& time, TIMEDATE* out);

// Breaks time down into *out with the standard offset of the runtime's zone setting, writing
// year, month, day, hour, minute and second (not the day of week or milliseconds). Returns 1
// on success; 0 when the runtime cannot represent the time (*out is then cleared) or fails.
int ConvertNotesTimeToSYSTEMTIME(const TIMEDATE& time, SYSTEMTIME* out);

// Converts an appointment time into *out as UTC fields: a copy shifted by the zone setting's
// hours is broken down with ConvertNotesTimeToSYSTEMTIME. Returns 1 on success, else 0.
int ConvertAppointmentTimeToSYSTEMTIME(const TIMEDATE& time, SYSTEMTIME* out);

// Sets the calendar's range from the days of start and end (UTC fields of the FILETIMEs):
// the start day at 00:00:00 to the end day at 23:59:00, local time.
void SetCalendarTimeRange(CNotesCalendar& calendar, const FILETIME& start, const FILETIME& end);

// Writes the date of time as text (the runtime's default form, e.g. 03/05/2011) into buffer
// (kNoteTimeStringSize bytes); empty when the runtime cannot convert it.
void GetNoteTimeString(const TIMEDATE& time, char* buffer);

// Reads the time item itemName of the note into *time. False, logged, when it has none.
bool GetTimeByNoteItem(NOTEHANDLE note, const char* itemName, TIMEDATE* time);

// For a repeating appointment: reads the start and end of the instance on the date of the
// calendar's range start from the note's "StartDateTime" and "EndDateTime" lists, using the
// calendar's shared text buffer. Returns 1 when both were read, 0 when there is no buffer, no
// instance on that date, or a time cannot be converted.
int GetTimeListByNoteItem(CNotesCalendar& calendar, NOTEHANDLE note, TIMEDATE* start,
                          TIMEDATE* end);

// Whole minutes from start to end (truncated); 0, logged, unless start is earlier than end.
int32_t GetTimeDuration(const TIMEDATE& start, const TIMEDATE& end);
