#include "date_arg.h"

#include <cstdint>

namespace host {
namespace {

constexpr int kFirstYear = 1601; // FILETIME counts from 1601-01-01
constexpr int64_t kTicksPerSecond = 10000000;

// Reads count digits at text[pos] into *value; false when any of them is not a digit.
bool ReadDigits(const std::string& text, size_t pos, size_t count, int* value) {
    int result = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        result = result * 10 + (text[i] - '0');
    }
    *value = result;
    return true;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysSince1601(int year, int month, int day) {
    const int64_t y = year - kFirstYear;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days + day - 1;
}

// Checks the shape: fixed separators at fixed places, everything else digits.
bool HasDateShape(const std::string& text) {
    if (text.size() != 10 && text.size() != 19)
        return false;
    if (text[4] != '-' || text[7] != '-')
        return false;
    return text.size() == 10 || (text[10] == 'T' && text[13] == ':' && text[16] == ':');
}

} // namespace

bool ParseDateArgument(const std::string& text, FILETIME* out, std::string* error) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const bool withTime = text.size() == 19;
    if (!HasDateShape(text) || !ReadDigits(text, 0, 4, &year) || !ReadDigits(text, 5, 2, &month) ||
        !ReadDigits(text, 8, 2, &day) ||
        (withTime && (!ReadDigits(text, 11, 2, &hour) || !ReadDigits(text, 14, 2, &minute) ||
                      !ReadDigits(text, 17, 2, &second)))) {
        *error = "invalid date '" + text + "': expected YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS";
        return false;
    }
    if (year < kFirstYear || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59) {
        *error = "invalid date '" + text + "': no such date or time";
        return false;
    }

    const int64_t seconds =
        DaysSince1601(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    const uint64_t ticks = static_cast<uint64_t>(seconds * kTicksPerSecond);
    out->dwLowDateTime = static_cast<uint32_t>(ticks);
    out->dwHighDateTime = static_cast<uint32_t>(ticks >> 32);
    return true;
}

} // namespace host
