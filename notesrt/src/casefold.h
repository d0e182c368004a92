// Case folding of the texts that collections sort and compare without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace notesrt {

// The lower-case form of c for the letters of Basic Latin, Latin-1, Latin Extended-A, Greek,
// Cyrillic and the full-width Latin letters; every other character is its own fold.
char32_t FoldCase(char32_t c);

// The characters of an LMBCS text, each folded with FoldCase, in UTF-8: compared byte for
// byte, folded texts order as their characters do.
std::string FoldedText(std::string_view lmbcs);

} // namespace notesrt
