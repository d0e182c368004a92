// LMBCS text, in the forms of ICU's LMBCS-1 converter.
//
// Bytes 0x20-0x7F and NUL, HT, LF, CR and 0x19 stand for themselves; the other C0 controls
// are 0x0F followed by the control plus 0x20; the characters of code page 850's upper half
// are its single bytes 0x80-0xFF; every other character is written as UTF-16 units, each as
// 0x14 followed by the unit's high then low byte, or as 0x14, 0xF6, high byte when the low
// byte is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace notesrt {

// The characters of code page 850's bytes 0x80-0xFF.
extern const char16_t kCp850UpperHalf[128];

constexpr size_t kNoLimit = static_cast<size_t>(-1);

// Encodes UTF-8 text as LMBCS, whole characters only, at most limit bytes. Malformed UTF-8
// (bad bytes, overlong forms, surrogates) becomes U+FFFD, and so do the characters that no
// form carries: U+F601-U+F6FF (their units would read as the zero-low-byte escape), U+FFFE
// and U+FFFF.
std::string Utf8ToLmbcs(std::string_view utf8, size_t limit = kNoLimit);

// Appends the LMBCS encoding of UTF-8 text to out, as Utf8ToLmbcs writes it.
void AppendLmbcsOfUtf8(std::string& out, std::string_view utf8);

// Appends the UTF-8 form of the code point c (at most U+10FFFF) to out.
void AppendUtf8(std::string& out, char32_t c);

// The position after the LMBCS character that starts at position (a surrogate pair is one
// character); at most text.size().
size_t NextLmbcsCharacter(std::string_view text, size_t position);

// Decodes LMBCS to UTF-8, whole characters only, at most limit bytes. Other group sequences
// (groups 0x01-0x13 but for the controls above) become U+FFFD with their bytes skipped, as do
// lone surrogates and sequences cut off by the end of the text.
std::string LmbcsToUtf8(std::string_view lmbcs, size_t limit = kNoLimit);

} // namespace notesrt
