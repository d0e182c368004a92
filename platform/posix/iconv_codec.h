// Code pages that are not built in, converted through the C library's iconv.
#pragma once

#include "utf16.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

// True when iconv converts this Windows code page both ways.
bool IconvSupports(unsigned codePage);

// Appends the UTF-16 form of src. An invalid or unmapped byte sequence becomes U+FFFD (one per
// byte that cannot start a character), or with strict makes the call return false. False also
// when the code page is not supported.
bool DecodeIconv(unsigned codePage, std::string_view src, bool strict, WideString* out);

// Appends the code page's form of n units, one character at a time; a character the page
// lacks, or a lone surrogate, becomes '?'. ends, when given, receives the end offset in *out
// of every character written. False when the code page is not supported.
bool EncodeIconv(unsigned codePage, const WCHAR* src, size_t n, std::string* out,
                 std::vector<size_t>* ends);

} // namespace platform::detail
