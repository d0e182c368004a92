// Whole-text conversion between a code page and UTF-16: the engine behind the Win32-style
// conversion calls and the POSIX calls that hand wide or ANSI text to the system.
#pragma once

#include "utf16.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

// The number of the code page a conversion with codePage uses (kCodePageAnsi resolved), or
// 0 when that code page cannot be converted.
unsigned ResolveCodePage(unsigned codePage);

// Appends the UTF-16 form of src in codePage (a resolved one). Invalid input becomes U+FFFD;
// strict makes it fail the call (false) instead.
bool Decode(unsigned codePage, std::string_view src, bool strict, WideString* out);

// Appends the codePage form of n units. Lone surrogates become U+FFFD in UTF-8 (strict: the
// call fails) and '?' elsewhere, like characters the page lacks. ends, when given, receives
// the end offset in *out of every character, so output can be cut between characters.
bool Encode(unsigned codePage, const WCHAR* src, size_t n, bool strict, std::string* out,
            std::vector<size_t>* ends);

} // namespace platform::detail
