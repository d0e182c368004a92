// Times as text, in the forms of the international settings and a text format.
#pragma once

#include "notesapi.h"

#include <string>
#include <string_view>

namespace notesrt {

// The settings OSGetIntlSettings gives: DATE_MDY | DATE_4DIGIT_YEAR | CLOCK_24_HOUR, "/" and
// ":", AM and PM, and the standard offset of the process's zone now.
INTLFORMAT DefaultIntlSettings();

// The format used when the caller gives none: the full date and time.
constexpr TFMT kDefaultTextFormat = {TDFMT_FULL, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};

// Writes time as local time of the process's zone. Fails with kErrInvalidArgument for a
// format this runtime does not write (date styles other than TDFMT_FULL and TDFMT_FULL4,
// time styles other than TTFMT_FULL and TTFMT_PARTIAL, a zone style, structures past
// TSFMT_DATETIME) and kErrTimeOutOfRange for a time it cannot represent.
STATUS FormatTimeText(const INTLFORMAT& settings, const TFMT& format, const TIMEDATE& time,
                      std::string& text);

// Reads a time from the start of text as local time of the process's zone; used is the
// number of bytes read. Fails with kErrBadTimeText for text that does not start with a time
// in that form.
STATUS ParseTimeText(const INTLFORMAT& settings, const TFMT& format, std::string_view text,
                     size_t& used, TIMEDATE& time);

// The text of a time item: MM/DD/YYYY HH:MM:SS in local time; empty when it is not a time.
std::string ItemTimeText(const TIMEDATE& time);

} // namespace notesrt
