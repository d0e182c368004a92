// Dates given on the command line, turned into FILETIMEs.
#pragma once

#include "platform/wintypes.h"

#include <string>

namespace host {

// Reads YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS (years 1601 to 9999) into *out, a FILETIME whose
// UTC fields are the ones written (a date alone is its midnight). Returns false with *error
// set, and *out untouched, for any other text or a field out of range (31 April, 24:00:00,
// 29 February of a common year).
bool ParseDateArgument(const std::string& text, FILETIME* out, std::string* error);

} // namespace host
