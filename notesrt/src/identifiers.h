// Text forms of UNIDs and of 8-byte identifiers.
#pragma once

#include "notesapi.h"

#include <string>

namespace notesrt {

// Reads 16 hexadecimal digits: the first 32-bit word (Innards[0]) then the second.
bool IdFromHex(const std::string& text, TIMEDATE& id);

// Reads 32 hexadecimal digits: the file half's high then low word, then the note half's
// high then low word.
bool UnidFromHex(const std::string& text, UNID& unid);

// Writes a UNID as 32 upper-case hexadecimal digits in the order UnidFromHex reads.
std::string UnidToHex(const UNID& unid);

} // namespace notesrt
