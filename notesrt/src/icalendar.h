// iCalendar content lines in LMBCS: folding, escaping and the date-time forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace notesrt {

// Octets of a value the calendar writes at most; longer item texts are cut at a character.
constexpr size_t kMaxValueOctets = 2048;

// line with CR LF, folded as RFC 5545 folds: no line longer than 75 octets, each
// continuation line starting with a blank, never a break inside an LMBCS character.
std::string FoldedLine(std::string_view line);

// LMBCS text as a TEXT value: backslash, semicolon and comma escaped, line ends written as
// "\n" (CR dropped), cut to kMaxValueOctets of text first.
std::string EscapedText(std::string_view text);

// LMBCS text as a plain value: CR and LF dropped, cut to kMaxValueOctets.
std::string PlainValue(std::string_view text);

// yyyymmddThhmmss of seconds since 1970-01-01 00:00, no zone applied.
std::string DateTimeText(int64_t seconds);

// An offset east of GMT as +hhmm (or +hhmmss when it has seconds).
std::string OffsetText(int32_t seconds);

} // namespace notesrt
