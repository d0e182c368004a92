// One note put into the text of a database file, the rest of the text left as it is.
#pragma once

#include "model.h"

#include <string>
#include <string_view>

namespace notesrt {

// A database file's new text in three pieces, so that the text need not be copied whole: the
// old text before the change, the text put in, the old text after it.
struct SplicedText {
    std::string_view before; // the old text up to the change
    std::string inserted;    // what the change puts in
    std::string_view after;  // the old text after what the change replaces
};

// The text of a database file, text (whose notes stand where layout says), with note (the text
// of one note object) in place of the note at position, or after the last note when position
// is the number of notes, making the "notes" list when the file has none. layout is moved
// along to the new text, its size and hash included. The pieces refer to text.
SplicedText SpliceNote(const std::string& text, FileLayout& layout, size_t position,
                       const std::string& note);
SplicedText SpliceNote(std::string&& text, FileLayout& layout, size_t position,
                       const std::string& note) = delete;

} // namespace notesrt
