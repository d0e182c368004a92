// Searches over a database: NSFSearch.
#include "runtime.h"

#include <vector>

using namespace notesrt;

namespace {

SEARCH_MATCH MatchOf(const Model& db, const NoteRecord& note) {
    SEARCH_MATCH match = {};
    match.ID.File = db.dbId;
    match.ID.Note = OidOf(note).SequenceTime;
    match.ID.NoteID = note.noteId;
    match.OriginatorID = OidOf(note);
    match.NoteClass = note.noteClass;
    match.SERetFlags = SE_FMATCH;
    return match;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC NSFSearch(DBHANDLE db, FORMULAHANDLE formula, char*, WORD,
                                                 WORD noteClassMask, TIMEDATE*,
                                                 NSFSEARCHPROC routine, void* parameter,
                                                 TIMEDATE* until) {
    TIMEDATE started;
    OSCurrentTIMEDATE(&started);
    std::vector<SEARCH_MATCH> matches;
    // The matches are gathered under the runtime's lock; the routine runs without it, so that
    // it can make runtime calls of its own.
    const STATUS status = RunCall("NSFSearch", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (routine == nullptr)
            return kErrInvalidArgument;
        if (formula != NULLHANDLE)
            return Fail(kErrInvalidArgument, "selection formulas are not evaluated");
        for (const NoteRecord& note : open->db->Notes()) {
            if ((note.noteClass & noteClassMask) != 0)
                matches.push_back(MatchOf(*open->db, note));
        }
        return 0;
    });
    if (status != 0)
        return status;
    for (SEARCH_MATCH& match : matches) {
        if (const STATUS answer = routine(parameter, &match, nullptr))
            return answer;
    }
    if (until != nullptr)
        *until = started;
    return 0;
}
