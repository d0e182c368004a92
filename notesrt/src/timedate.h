// TIMEDATE values: building them and reading the time texts of database files.
#pragma once

#include "notesapi.h"

#include <cstdint>
#include <string>

namespace notesrt {

// Julian day number of 1970-01-01.
constexpr int64_t kJulianDayOf1970 = 2440588;

// Days since 1970-01-01 of a date of the Gregorian calendar.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);

// The TIMEDATE of utcSeconds (since 1970-01-01 00:00 UTC) plus hundredths, carrying a zone
// whose standard offset is standardOffsetEast seconds east of GMT, and the DST flag.
TIMEDATE MakeTimeDate(int64_t utcSeconds, unsigned hundredths, int32_t standardOffsetEast,
                      bool dst);

// Reads "YYYY-MM-DDTHH:MM:SS", optionally with a fraction of a second (hundredths are kept)
// and "Z" or an offset "+HH:MM"/"-HH:MM"; without either the text is wall-clock time of the
// process's zone. False for any other text or an impossible date.
bool ParseIsoTime(const std::string& text, TIMEDATE& time);

} // namespace notesrt
