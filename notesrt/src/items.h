// Finding the items of an open note by name.
#pragma once

#include "runtime.h"

#include <string_view>

namespace notesrt {

// The position of the first item of the note named name (compared ignoring case) at or after
// from; false when there is none.
bool FindItem(const OpenNote& note, std::string_view name, size_t from, size_t& position);

} // namespace notesrt
