// Storing notes into their databases' files, and new originator IDs.
#pragma once

#include "runtime.h"

namespace notesrt {

// A new originator ID for a note of db: the file half is db's replica ID (as the UNIDs
// derived from note positions have it), the note half a number above every one given
// before in this process and held by no note of db; sequence 0. Called under the runtime's
// lock.
ORIGINATORID NewOriginatorId(const Model& db);

// oid with its note half replaced as NewOriginatorId chooses one (its file half kept).
ORIGINATORID FreeOriginatorId(const Model& db, ORIGINATORID oid);

// Stores open (the note of handle note) into the database its _NOTE_DB handle names, as
// NSFNoteUpdate describes: under the file's lock among processes (the file "NAME.lock" beside
// it, there while held), the database file is read, the note's text put in place of its old
// one or after the last note, the rest of the text left as it is, and the file replaced
// (filereplace.h); every handle on that file then holds the new model. A note without a note
// ID replaces the note of its UNID, unless it was never stored (sequence 0): then the UNID
// was taken by another process meanwhile, and the note gets a free one. A file whose text is
// the one a model of the file was read from or written with is not parsed again. Changes
// nothing on failure, except that a file whose folder could not be flushed holds the note.
STATUS StoreNote(Runtime& runtime, OpenNote& open);

} // namespace notesrt
