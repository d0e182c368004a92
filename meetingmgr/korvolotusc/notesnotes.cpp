#include "notesnotes.h"

#include "notesclib.h"
#include "trace.h"

#include <cstdio>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr uint16_t kViewNoteClass = NOTE_CLASS_VIEW; // design notes that are views

} // namespace

void FormatNoteUNID(const UNID& unid, char (&text)[kUnidTextLength + 1]) {
    std::snprintf(
        text, sizeof text, "%08X%08X%08X%08X", static_cast<unsigned>(unid.File.Innards[1]),
        static_cast<unsigned>(unid.File.Innards[0]), static_cast<unsigned>(unid.Note.Innards[1]),
        static_cast<unsigned>(unid.Note.Innards[0]));
}

void GetDBView(DBHANDLE db, const char* viewName, NOTEID* viewNoteId) {
    if (db == NULLHANDLE || viewName == nullptr || viewNoteId == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetDBView", "Invalid parameters!!");
        return;
    }
    // The public NIFFindView is a macro over this call; failures keep its name.
    const STATUS status = NIFFindDesignNoteExt(db, viewName, kViewNoteClass,
                                               DFLAGPAT_VIEWS_AND_FOLDERS, viewNoteId, 0);
    if (status != NOERROR)
        NotesAPIErrHandler("NIFFindView", status);
}

void CloseCollection(HCOLLECTION collection) {
    if (collection == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CloseCollection", "Invalid parameters!!");
        return;
    }
    const STATUS status = NIFCloseCollection(collection);
    if (status != NOERROR)
        NotesAPIErrHandler("CloseCollection---NIFCloseCollection", status);
}

void GetNoteOID(NOTEHANDLE note, CString& unidText) {
    unidText.clear();
    if (note == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetNoteOID", "Invalid parameters!!");
        return;
    }
    ORIGINATORID oid = {};
    NSFNoteGetInfo(note, _NOTE_OID, &oid);
    const UNID unid = {oid.File, oid.Note};
    char text[kUnidTextLength + 1];
    FormatNoteUNID(unid, text);
    unidText.assign(text, text + kUnidTextLength);
}

void OpenNoteByUNID(DBHANDLE db, const UNID* unid, NOTEHANDLE* note) {
    *note = NULLHANDLE;
    if (db == NULLHANDLE || unid == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "OpenNoteByUNID", "Invalid parameters!!");
        return;
    }
    UNID key = *unid; // the call takes the UNID by a non-const pointer
    const STATUS status = NSFNoteOpenByUNID(db, &key, 0, note);
    if (status != NOERROR) {
        NotesAPIErrHandler("OpenNoteByUNID---NSFNoteOpenByUNID", status);
        *note = NULLHANDLE;
    }
}

void OpenNoteByNoteID(DBHANDLE db, NOTEID noteId, NOTEHANDLE* note, bool mime) {
    *note = NULLHANDLE;
    if (db == NULLHANDLE || noteId == 0) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "OpenNoteByNoteID", "Invalid parameters!!");
        return;
    }
    const STATUS status = NSFNoteOpenExt(db, noteId, mime ? OPEN_RAW_MIME : 0, note);
    if (status != NOERROR) {
        NotesAPIErrHandler("OpenNoteByNoteID---NSFNoteOpenExt", status);
        *note = NULLHANDLE;
    }
}

void CloseNote(NOTEHANDLE note) {
    if (note == NULLHANDLE)
        return;
    const STATUS status = NSFNoteClose(note);
    if (status != NOERROR)
        NotesAPIErrHandler("CloseNote---NSFNoteClose", status);
}
