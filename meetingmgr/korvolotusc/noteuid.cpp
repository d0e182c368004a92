#include "noteuid.h"

#include "notesclib.h"
#include "trace.h"

static constexpr char kTraceSource[] = "notesclib.cpp";

NOTEID GetNoteID(DBHANDLE db, const UNID& unid) {
    if (db == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetNoteID", "Invalid parameters!!");
        return 0;
    }
    NOTEID noteId = 0;
    UNID key = unid; // the call takes the UNID by a non-const pointer
    const STATUS status = NSFDbGetNoteInfoByUNID(db, &key, &noteId, nullptr, nullptr, nullptr);
    if (status != NOERROR) {
        NotesAPIErrHandler("NSFDbGetNoteInfoByUNID", status);
        return 0;
    }
    return noteId;
}

void OpenNoteByUID(DBHANDLE db, const char* uid, const char* recurrenceId, NOTEHANDLE* note) {
    *note = NULLHANDLE;
    if (db == NULLHANDLE || uid == nullptr || uid[0] == '\0') {
        KORVO_TRACE(PM_SDK::kLevelFailure, "OpenNoteByUID", "Invalid parameters!!");
        return;
    }
    const bool instance = recurrenceId != nullptr && recurrenceId[0] != '\0';
    if (instance)
        KORVO_TRACE(PM_SDK::kLevelDetail, "OpenNoteByUID", "UID[%s],RecurID[%s]!!", uid,
                    recurrenceId);
    else
        KORVO_TRACE(PM_SDK::kLevelDetail, "OpenNoteByUID", "UID[%s]!!", uid);
    const STATUS status =
        CalOpenNoteHandle(db, uid, instance ? recurrenceId : nullptr, note, 0, nullptr);
    if (status != NOERROR) {
        NotesAPIErrHandler("OpenNoteByUID---CalOpenNoteHandle", status);
        *note = NULLHANDLE;
    }
}
