// Opening notes into note handles.
#pragma once

#include "runtime.h"

namespace notesrt {

// Opens the note at position of the database behind dbHandle into *note; rawMime keeps its
// MIME bodies as MIME, otherwise they show as rich text.
STATUS OpenNoteAt(Runtime& runtime, DBHANDLE dbHandle, const OpenDatabase& open, size_t position,
                  bool rawMime, NOTEHANDLE* note);

// Turns every MIME item of note into a rich-text item whose paragraphs are the lines of the
// body's first text part (none when it has no text part), as a note opened without
// OPEN_RAW_MIME shows it.
void ShowMimeAsRichText(Note& note);

} // namespace notesrt
