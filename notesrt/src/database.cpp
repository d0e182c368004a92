// Helpers of the database model.
#include "database.h"

namespace notesrt {

UnidKey KeyOfUnid(const UNID& unid) {
    return {unid.File.Innards[1], unid.File.Innards[0], unid.Note.Innards[1], unid.Note.Innards[0]};
}

UNID UnidOfNote(const Note& note) {
    UNID unid;
    unid.File = note.oid.File;
    unid.Note = note.oid.Note;
    return unid;
}

} // namespace notesrt
