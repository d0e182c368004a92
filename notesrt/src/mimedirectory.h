// Open MIME directories and the entities their calls hand out.
#pragma once

#include "database.h"
#include "notesapi.h"

#include <memory>
#include <vector>

namespace notesrt {

// One entity of an open MIME directory; callers see it only as a PMIMEENTITY.
struct MimeEntityNode {
    HMIMEDIRECTORY directory = 0; // the directory it belongs to
    size_t index = 0;             // position in the directory's depth-first order
    size_t end = 0;               // position after its last descendant
    MimeEntity content;           // type, charset, data and flags (parts left empty)
};

// An open MIME directory: the entities of a note's first MIME item, depth first.
struct MimeDirectory {
    NOTEHANDLE note = 0;                                   // the note it was opened on
    std::vector<std::unique_ptr<MimeEntityNode>> entities; // the root first, parents before parts
};

// Builds the entities of root's tree, depth first, for the directory handle.
std::vector<std::unique_ptr<MimeEntityNode>> FlattenMime(const MimeEntity& root,
                                                         HMIMEDIRECTORY directory);

} // namespace notesrt
