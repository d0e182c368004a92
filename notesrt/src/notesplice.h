// One note put into the text of a database file, the rest of the text left as it is.
#pragma once

#include "model.h"

#include <string>

namespace notesrt {

// The text of a database file, text (whose notes stand where layout says), with note (the text
// of one note object) in place of the note at position, or after the last note when position
// is the number of notes, making the "notes" list when the file has none. layout is moved
// along to the new text, its size and hash included.
std::string SpliceNote(const std::string& text, FileLayout& layout, size_t position,
                       const std::string& note);

} // namespace notesrt
