// Opening the note of a calendar entry.
#pragma once

#include "calendarentry.h"
#include "notesapi.h"

// Opens the note of entry in db (the calendar's mail database) into *note: by the note ID
// its UNID maps to (with mime, so that a MIME body shows as MIME entities), else by UNID
// (only without mime), else by its UID and recurrence ID. Returns 1 when *note is open (the
// caller closes it with CloseNote), else 0 with *note 0; failures are logged.
int OpenAppointment(DBHANDLE db, const CalendarEventEntry& entry, NOTEHANDLE* note, bool mime);
