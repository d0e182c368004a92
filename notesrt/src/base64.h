// Base64 of the byte values in database files, for the runtime and the tools that write them.
#pragma once

#include <string>

namespace notesrt {

// Decodes base64 text (blanks and line breaks allowed, padding optional) into bytes; false
// for any other character or a dangling final character.
bool DecodeBase64(const std::string& text, std::string& bytes);

// Bytes as base64 text, with padding and without line breaks.
std::string EncodeBase64(const std::string& bytes);

} // namespace notesrt
