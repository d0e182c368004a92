// Item values in the byte form NSFItemInfo hands out.
//
// A value is its 16-bit data type followed by: LMBCS bytes (text); a LIST, its lengths and
// texts (text list); an 8-byte double (number); a TIMEDATE (time); a RANGE and its
// TIMEDATEs (time list); the paragraphs as records of a 32-bit length and the LMBCS bytes
// (rich text, this runtime's own form); the decoded content (MIME part); the file object
// descriptor and the file name (attached file); the exact bytes (raw). Words in the
// machine's order.
#pragma once

#include "model.h"

#include <string>
#include <string_view>
#include <vector>

namespace notesrt {

// The value of item in byte form, data type first.
std::string ValueBytes(const ItemView& item);
std::string ValueBytes(const Item& item);

// Reads the paragraphs of a rich-text value (after its data type); false when the bytes are
// not whole records.
bool ReadParagraphs(std::string_view bytes, std::vector<std::string>& paragraphs);

} // namespace notesrt
