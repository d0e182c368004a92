// Storing notes into their databases' files, and new originator IDs.
#pragma once

#include "runtime.h"

namespace notesrt {

// A new originator ID for a note of db: the file half is db's replica ID (as the UNIDs
// derived from note positions have it), the note half a number above every one given
// before in this process and held by no note of db; sequence 0. Called under the runtime's
// lock.
ORIGINATORID NewOriginatorId(const Model& db);

// Stores open (the note of handle note) into the database its _NOTE_DB handle names, as
// NSFNoteUpdate describes: the database file is read, the note added or replaced in it, and
// the file replaced at once; every handle on that file then holds the new model. Changes
// nothing on failure.
STATUS StoreNote(Runtime& runtime, OpenNote& open);

} // namespace notesrt
