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

// A date of the Gregorian calendar and a time of day.
struct CivilTime {
    int year = 1970; // 1-9999
    int month = 1;   // 1-12
    int day = 1;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59
};

// The fields of seconds since 1970-01-01 00:00, no zone applied.
CivilTime CivilOfSeconds(int64_t seconds);

// Seconds since 1970-01-01 00:00 of fields, no zone applied.
int64_t SecondsOfCivil(const CivilTime& civil);

// Days in month of year.
int DaysInMonth(int year, int month);

// Seconds since 1970-01-01 00:00 UTC and hundredths of time; false when its ticks run past a
// day or its date lies outside the years 1 to 9999.
bool SplitTimeDate(const TIMEDATE& time, int64_t& utcSeconds, unsigned& hundredths);

// The TIMEDATE of utcSeconds and hundredths carrying the process's zone and DST at that
// instant; false when the system cannot tell them.
bool TimeDateInProcessZone(int64_t utcSeconds, unsigned hundredths, TIMEDATE& time);

// Wall-clock fields of the process's zone at utcSeconds; false when the system cannot tell
// them.
bool LocalCivil(int64_t utcSeconds, CivilTime& local);

// Seconds since 1970-01-01 00:00 UTC of wall-clock fields of the process's zone; false when
// the system cannot represent them.
bool UtcOfLocalCivil(const CivilTime& local, int64_t& utcSeconds);

// The TIMEDATE of utcSeconds (since 1970-01-01 00:00 UTC) plus hundredths, carrying a zone
// whose standard offset is standardOffsetEast seconds east of GMT, and the DST flag.
TIMEDATE MakeTimeDate(int64_t utcSeconds, unsigned hundredths, int32_t standardOffsetEast,
                      bool dst);

// Reads "YYYY-MM-DDTHH:MM:SS", optionally with a fraction of a second (hundredths are kept)
// and "Z" or an offset "+HH:MM"/"-HH:MM"; without either the text is wall-clock time of the
// process's zone. False for any other text or an impossible date.
bool ParseIsoTime(const std::string& text, TIMEDATE& time);

// Appends value in decimal, zero-padded to width characters with the sign counted, as
// printf's "%0*d" writes it.
void AppendPadded(std::string& out, int value, int width);

} // namespace notesrt
