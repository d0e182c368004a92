// ASCII case folding for names the runtime compares without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace notesrt {

// text with A-Z made lower case; other bytes unchanged.
std::string LowerAscii(std::string text);

// True when the texts are equal once A-Z are folded to lower case.
bool EqualsIgnoringCase(std::string_view first, std::string_view second);

} // namespace notesrt
