// The names of design notes.
#pragma once

#include "model.h"

#include <string_view>

namespace notesrt {

// True when name (compared ignoring case) is one of the names of note, a note of db: the
// "|"-separated parts of its $TITLE items.
bool HasViewName(const Model& db, const NoteRecord& note, std::string_view name);

} // namespace notesrt
