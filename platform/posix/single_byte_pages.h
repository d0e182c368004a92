// The built-in single-byte code pages: Windows-1252 and DOS Latin-1 (850).
#pragma once

#include "utf16.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

// Bytes 0x00-0x7F are ASCII in both pages; the table gives the upper half.
struct SingleBytePage {
    unsigned codePage;  // the page's number
    const WCHAR* upper; // the characters of bytes 0x80-0xFF, 128 entries
};

// The built-in page with this number, or null.
const SingleBytePage* FindSingleBytePage(unsigned codePage);

// Appends one unit per byte of src.
void DecodeSingleByte(const SingleBytePage& page, std::string_view src, WideString* out);

// Appends one byte per unit of src; a unit the page lacks (a surrogate among them) becomes
// '?'. ends, when given, receives the end offset in *out of every byte written.
void EncodeSingleByte(const SingleBytePage& page, const WCHAR* src, size_t n, std::string* out,
                      std::vector<size_t>* ends);

} // namespace platform::detail
