// Changing the items of an open note.
#pragma once

#include "runtime.h"

namespace notesrt {

// Puts item into the note in place of every item of its name (compared ignoring case): where
// the first of them stood, or at the end when there was none. The note's items become its own
// first. The value blocks NSFItemInfo handed out for the items from that place on are freed,
// since their positions change.
void SetNoteItem(Runtime& runtime, OpenNote& open, const Item& item);

} // namespace notesrt
