// Finding the items of a note by name.
#pragma once

#include "database.h"

#include <string_view>

namespace notesrt {

// The position of the first item named name (compared ignoring case) at or after from;
// false when there is none.
bool FindItem(const Note& note, std::string_view name, size_t from, size_t& position);

} // namespace notesrt
