// Base64 decoding of the byte values in database files.
#pragma once

#include <string>

namespace notesrt {

// Decodes base64 text (blanks and line breaks allowed, padding optional) into bytes; false
// for any other character or a dangling final character.
bool DecodeBase64(const std::string& text, std::string& bytes);

} // namespace notesrt
