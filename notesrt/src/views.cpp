// Design notes by name: NIFFindView.
#include "runtime.h"
#include "viewnames.h"

using namespace notesrt;

extern "C" NOTESRT_API STATUS NIFFindView(DBHANDLE db, const char* name, uint16_t noteClass,
                                          const char*, NOTEID* noteId, uint32_t) {
    return RunCall("NIFFindView", true, [&](Runtime& runtime) -> STATUS {
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
