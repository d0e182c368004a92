// Opening notes into note handles.
#pragma once

#include "runtime.h"

namespace notesrt {

// Opens the note at position of the database behind dbHandle into *note, sharing the
// database's model; rawMime keeps its MIME bodies as MIME, otherwise they show as rich text.
STATUS OpenNoteAt(Runtime& runtime, DBHANDLE dbHandle, const OpenDatabase& open, size_t position,
                  bool rawMime, NOTEHANDLE* note);

} // namespace notesrt
