// CalendarEventEntry: one appointment named by the calendar export or by the free/busy
// schedule, with what is needed to open its note later. A fixed-size value; a cleared entry
// (CalendarEventEntry{}) is all zero bytes.
#pragma once

#include "notesapi.h"

#include <cstdint>

struct CalendarEventEntry {
    int32_t fromSchedule = 0; // 0 from the export text, 1 added from the free/busy schedule
    int32_t apptType = 0;     // 0 to 4 from X-LOTUS-APPTTYPE, 5 for any other value
    UNID unid{};              // binary form of X-LOTUS-UNID
    char recurrenceId[80]{};  // RECURRENCE-ID value, NUL-terminated
    char organizer[256]{};    // X-LOTUS-ORGANIZER value
    char uid[256]{};          // UID value
    char unidText[80]{};      // X-LOTUS-UNID value as text
};
