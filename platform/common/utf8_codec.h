// UTF-8 to and from UTF-16 as Windows converts code page 65001.
#pragma once

#include "utf16.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

// Appends the UTF-16 form of src. Each maximal invalid subpart (a stray byte, a sequence cut
// short, an overlong form, an encoded surrogate, a value above 0x10FFFF) becomes one U+FFFD;
// with strict the first one makes the call return false instead.
bool DecodeUtf8(std::string_view src, bool strict, WideString* out);

// Appends the UTF-8 form of n units. A lone surrogate becomes U+FFFD (EF BF BD), or with
// strict makes the call return false. ends, when given, receives the end offset in *out of
// every character written.
bool EncodeUtf8(const WCHAR* src, size_t n, bool strict, std::string* out,
                std::vector<size_t>* ends);

} // namespace platform::detail
