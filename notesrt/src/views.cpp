// Design notes by name: NIFFindDesignNoteExt.
#include "runtime.h"
#include "viewnames.h"

using namespace notesrt;

extern "C" NOTESRT_API STATUS LNPUBLIC NIFFindDesignNoteExt(DBHANDLE db, const char* name,
                                                            WORD noteClass, const char*,
                                                            NOTEID* noteId, DWORD) {
    return RunCall("NIFFindDesignNoteExt", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (name == nullptr || noteId == nullptr)
            return kErrInvalidArgument;
        for (const NoteRecord& note : open->db->Notes()) {
            if (note.noteClass == noteClass && HasViewName(*open->db, note, name)) {
                *noteId = note.noteId;
                return 0;
            }
        }
        return ERR_NOT_FOUND;
    });
}
