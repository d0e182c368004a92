// TIMEDATE construction and time texts.
#include "timedate.h"

#include "os.h"

#include <cstdlib>

namespace notesrt {
namespace {

constexpr uint32_t kDstBit = 0x80000000u;
constexpr uint32_t kEastBit = 0x40000000u;

bool ReadDigits(const std::string& text, size_t offset, size_t count, int& value) {
    if (offset + count > text.size())
        return false;
    value = 0;
    for (size_t i = offset; i < offset + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Julian day numbers of 0001-01-01 and 9999-12-31.
constexpr int64_t kFirstJulianDay = 1721426;
constexpr int64_t kLastJulianDay = 5373484;
constexpr uint32_t kTicksPerDay = 8640000;

} // namespace

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

CivilTime CivilOfSeconds(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    const int64_t shifted = days + 719468;
    const int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(shifted - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    CivilTime civil;
    civil.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    civil.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    civil.year =
        static_cast<int>(static_cast<int64_t>(yearOfEra) + era * 400 + (civil.month <= 2 ? 1 : 0));
    civil.hour = static_cast<int>(secondOfDay / 3600);
    civil.minute = static_cast<int>(secondOfDay / 60 % 60);
    civil.second = static_cast<int>(secondOfDay % 60);
    return civil;
}

int64_t SecondsOfCivil(const CivilTime& civil) {
    return DaysFromCivil(civil.year, static_cast<unsigned>(civil.month),
                         static_cast<unsigned>(civil.day)) *
               86400 +
           civil.hour * 3600 + civil.minute * 60 + civil.second;
}

bool SplitTimeDate(const TIMEDATE& time, int64_t& utcSeconds, unsigned& hundredths) {
    const int64_t julianDay = time.Innards[1] & 0xFFFFFF;
    if (time.Innards[0] >= kTicksPerDay || julianDay < kFirstJulianDay ||
        julianDay > kLastJulianDay)
        return false;
    utcSeconds = (julianDay - kJulianDayOf1970) * 86400 + time.Innards[0] / 100;
    hundredths = time.Innards[0] % 100;
    return true;
}

bool TimeDateInProcessZone(int64_t utcSeconds, unsigned hundredths, TIMEDATE& time) {
    int32_t standardOffset;
    bool dst;
    if (!ZoneAt(utcSeconds, standardOffset, dst))
        return false;
    time = MakeTimeDate(utcSeconds, hundredths, standardOffset, dst);
    return true;
}

bool LocalCivil(int64_t utcSeconds, CivilTime& local) {
    int32_t standardOffset;
    bool dst;
    if (!ZoneAt(utcSeconds, standardOffset, dst))
        return false;
    local = CivilOfSeconds(utcSeconds + standardOffset + (dst ? 3600 : 0));
    return true;
}

bool UtcOfLocalCivil(const CivilTime& local, int64_t& utcSeconds) {
    return LocalToUtc(local.year, local.month, local.day, local.hour, local.minute, local.second,
                      utcSeconds);
}

int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

TIMEDATE MakeTimeDate(int64_t utcSeconds, unsigned hundredths, int32_t standardOffsetEast,
                      bool dst) {
    int64_t days = utcSeconds / 86400;
    int64_t secondOfDay = utcSeconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    const uint32_t quarters = static_cast<uint32_t>(std::abs(standardOffsetEast) / 900);
    uint32_t zone = ((quarters / 4) << 24) | ((quarters % 4) << 28);
    if (standardOffsetEast > 0)
        zone |= kEastBit;
    if (dst)
        zone |= kDstBit;
    TIMEDATE time;
    time.Innards[0] = static_cast<uint32_t>(secondOfDay * 100 + hundredths);
    time.Innards[1] = static_cast<uint32_t>((days + kJulianDayOf1970) & 0xFFFFFF) | zone;
    return time;
}

bool ParseIsoTime(const std::string& text, TIMEDATE& time) {
    int year, month, day, hour, minute, second;
    if (text.size() < 19 || !ReadDigits(text, 0, 4, year) || text[4] != '-' ||
        !ReadDigits(text, 5, 2, month) || text[7] != '-' || !ReadDigits(text, 8, 2, day) ||
        text[10] != 'T' || !ReadDigits(text, 11, 2, hour) || text[13] != ':' ||
        !ReadDigits(text, 14, 2, minute) || text[16] != ':' || !ReadDigits(text, 17, 2, second))
        return false;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return false;
    size_t position = 19;
    unsigned hundredths = 0;
    if (position < text.size() && text[position] == '.') {
        ++position;
        const size_t digitsStart = position;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
            const unsigned digit = static_cast<unsigned>(text[position] - '0');
            if (position - digitsStart == 0)
                hundredths += digit * 10;
            else if (position - digitsStart == 1)
                hundredths += digit;
            ++position;
        }
        if (position == digitsStart)
            return false;
    }
    const int64_t wallSeconds =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
        hour * 3600 + minute * 60 + second;
    const std::string zone = text.substr(position);
    if (zone == "Z") {
        time = MakeTimeDate(wallSeconds, hundredths, 0, false);
        return true;
    }
    if (zone.empty()) {
        int64_t utc;
        int32_t standardOffset;
        bool dst;
        if (!LocalToUtc(year, month, day, hour, minute, second, utc) ||
            !ZoneAt(utc, standardOffset, dst))
            return false;
        time = MakeTimeDate(utc, hundredths, standardOffset, dst);
        return true;
    }
    int offsetHours, offsetMinutes;
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') ||
        !ReadDigits(zone, 1, 2, offsetHours) || zone[3] != ':' ||
        !ReadDigits(zone, 4, 2, offsetMinutes) || offsetHours > 14 || offsetMinutes > 59)
        return false;
    int32_t offset = offsetHours * 3600 + offsetMinutes * 60;
    if (zone[0] == '-')
        offset = -offset;
    time = MakeTimeDate(wallSeconds - offset, hundredths, offset, false);
    return true;
}

void AppendPadded(std::string& out, int value, int width) {
    char digits[12];
    char* first = digits + sizeof digits;
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const size_t length = static_cast<size_t>(digits + sizeof digits - first) + (value < 0 ? 1 : 0);
    if (value < 0)
        out.push_back('-');
    if (width > 0 && static_cast<size_t>(width) > length)
        out.append(static_cast<size_t>(width) - length, '0');
    out.append(first, digits + sizeof digits);
}

} // namespace notesrt
