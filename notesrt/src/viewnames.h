// The names of design notes.
#pragma once

#include "database.h"

#include <string_view>

namespace notesrt {

// True when name (compared ignoring case) is one of the note's names: the "|"-separated
// parts of its $TITLE items.
bool HasViewName(const Note& note, std::string_view name);

} // namespace notesrt
