// Whole numbers given as arguments.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Reads a decimal 32-bit integer with an optional sign and nothing around it. Returns false,
// leaving *value untouched, for any other text or a value out of range.
bool ParseInt32(const std::string& text, int32_t* value);

} // namespace host
