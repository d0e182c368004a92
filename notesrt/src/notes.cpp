// Note handles: NSFNoteOpenExt, NSFNoteOpenByUNID, NSFNoteClose, the note information calls
// and NSFNoteHasMIMEPart.
#include "notes.h"

#include <cstring>

namespace notesrt {

STATUS OpenNoteAt(Runtime& runtime, DBHANDLE dbHandle, const OpenDatabase& open, size_t position,
                  bool rawMime, NOTEHANDLE* note) {
    const NoteRecord& record = open.db->Notes().at(position);
    OpenNote opened;
    opened.dbHandle = dbHandle;
    opened.noteId = record.noteId;
    opened.oid = OidOf(record);
    opened.noteClass = record.noteClass;
    opened.items = open.db;
    opened.position = position;
    opened.rawMime = rawMime;
    const NOTEHANDLE handle = runtime.notes.Add(std::move(opened));
    if (handle == 0)
        return kErrTooManyHandles;
    *note = handle;
    return 0;
}

} // namespace notesrt

using namespace notesrt;

namespace {

void WriteInfo(const NoteRecord& note, ORIGINATORID* oid, TIMEDATE* modified, uint16_t* noteClass) {
    if (oid != nullptr)
        *oid = OidOf(note);
    if (modified != nullptr)
        *modified = OidOf(note).SequenceTime;
    if (noteClass != nullptr)
        *noteClass = note.noteClass;
}

std::string NoteIdText(NOTEID noteId) {
    return "note ID " + std::to_string(noteId);
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC NSFNoteOpenExt(DBHANDLE db, NOTEID noteId, uint32_t flags,
                                                      NOTEHANDLE* note) {
    return RunCall("NSFNoteOpenExt", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (note == nullptr)
            return kErrInvalidArgument;
        size_t position;
        if (!open->db->FindById(noteId, position))
            return Fail(kErrNoteNotFound, NoteIdText(noteId));
        return OpenNoteAt(runtime, db, *open, position, (flags & OPEN_RAW_MIME) != 0, note);
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFNoteOpenByUNID(DBHANDLE db, UNID* unid, WORD,
                                                         NOTEHANDLE* note) {
    return RunCall("NSFNoteOpenByUNID", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (unid == nullptr || note == nullptr)
            return kErrInvalidArgument;
        size_t position;
        if (!open->db->FindByUnid(*unid, position))
            return ERR_NOT_FOUND;
        return OpenNoteAt(runtime, db, *open, position, false, note);
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFNoteClose(NOTEHANDLE note) {
    return RunReleaseCall("NSFNoteClose", [&](Runtime& runtime) -> STATUS {
        if (!runtime.notes.Remove(note))
            return kErrInvalidHandle;
        FreeOwnedBlocks(runtime, note);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFDbGetNoteInfoByUNID(DBHANDLE db, UNID* unid,
                                                              NOTEID* noteId, ORIGINATORID* oid,
                                                              TIMEDATE* modified,
                                                              uint16_t* noteClass) {
    return RunCall("NSFDbGetNoteInfoByUNID", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (unid == nullptr)
            return kErrInvalidArgument;
        size_t position;
        if (!open->db->FindByUnid(*unid, position))
            return ERR_NOT_FOUND;
        const NoteRecord& found = open->db->Notes()[position];
        if (noteId != nullptr)
            *noteId = found.noteId;
        WriteInfo(found, oid, modified, noteClass);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFDbGetNoteInfo(DBHANDLE db, NOTEID noteId,
                                                        ORIGINATORID* oid, TIMEDATE* modified,
                                                        uint16_t* noteClass) {
    return RunCall("NSFDbGetNoteInfo", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        size_t position;
        if (!open->db->FindById(noteId, position))
            return Fail(kErrNoteNotFound, NoteIdText(noteId));
        WriteInfo(open->db->Notes()[position], oid, modified, noteClass);
        return 0;
    });
}

extern "C" NOTESRT_API void LNPUBLIC NSFNoteGetInfo(NOTEHANDLE note, uint16_t attribute,
                                                    void* value) {
    RunPlainCall(0, [&](Runtime& runtime) {
        const OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr || value == nullptr)
            return 0;
        switch (attribute) {
        case _NOTE_DB:
            std::memcpy(value, &open->dbHandle, sizeof open->dbHandle);
            break;
        case _NOTE_ID:
            std::memcpy(value, &open->noteId, sizeof open->noteId);
            break;
        case _NOTE_OID:
            std::memcpy(value, &open->oid, sizeof open->oid);
            break;
        case _NOTE_CLASS:
            std::memcpy(value, &open->noteClass, sizeof open->noteClass);
            break;
        default:
            break;
        }
        return 0;
    });
}

extern "C" NOTESRT_API void LNPUBLIC NSFNoteSetInfo(NOTEHANDLE note, WORD attribute, void* value) {
    RunPlainCall(0, [&](Runtime& runtime) {
        OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr)
            return 0;
        // Copies the attribute's value into field, or zero when value is null.
        const auto assign = [value](auto& field) {
            if (value != nullptr)
                std::memcpy(&field, value, sizeof field);
            else
                std::memset(&field, 0, sizeof field);
        };
        switch (attribute) {
        case _NOTE_DB: {
            DBHANDLE db = 0;
            assign(db);
            if (runtime.databases.Find(db) != nullptr)
                open->dbHandle = db;
            break;
        }
        case _NOTE_ID:
            assign(open->noteId);
            break;
        case _NOTE_OID:
            assign(open->oid);
            break;
        case _NOTE_CLASS:
            assign(open->noteClass);
            break;
        default:
            break;
        }
        return 0;
    });
}

extern "C" NOTESRT_API BOOL LNPUBLIC NSFNoteHasMIMEPart(NOTEHANDLE note) {
    return RunPlainCall(0, [&](Runtime& runtime) {
        const OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr || !open->rawMime)
            return 0;
        for (size_t position = 0; position < open->Record().itemCount; ++position) {
            if (open->ItemAt(position).kind == ValueKind::Mime)
                return 1;
        }
        return 0;
    });
}
