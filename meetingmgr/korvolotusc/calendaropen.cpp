#include "calendaropen.h"

#include "notesnotes.h"
#include "noteuid.h"
#include "trace.h"

static constexpr char kTraceSource[] = "notesmailcalendar.cpp";

int OpenAppointment(DBHANDLE db, const CalendarEventEntry& entry, NOTEHANDLE* note, bool mime) {
    *note = NULLHANDLE;
    const UNID unid = entry.unid;
    const NOTEID noteId = GetNoteID(db, unid);
    if (noteId != 0)
        OpenNoteByNoteID(db, noteId, note, mime);
    if (*note == NULLHANDLE && !mime)
        OpenNoteByUNID(db, &unid, note);
    if (*note == NULLHANDLE && entry.uid[0] != '\0') {
        KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCalendar::OpenAppointment",
                    "try to open note again by UID...");
        OpenNoteByUID(db, entry.uid, entry.recurrenceId, note);
    }
    return *note != NULLHANDLE ? 1 : 0;
}
