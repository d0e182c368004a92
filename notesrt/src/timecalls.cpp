// Time calls: OSGetIntlSettings, ConvertTextToTIMEDATE, ConvertTIMEDATEToText,
// TimeGMToLocal, TimeDateAdjust, TimeDateCompare, TimeDateDifference, OSCurrentTIMEDATE.
#include "runtime.h"
#include "timedate.h"
#include "timetext.h"

#include <algorithm>
#include <chrono>
#include <cstring>

using namespace notesrt;

static_assert(sizeof(INTLFORMAT) == 139, "the settings record has no padding");

namespace {

// Hundredths of a second since 1970-01-01 00:00 UTC of a valid time.
int64_t HundredthsOf(const TIMEDATE& time) {
    return (static_cast<int64_t>(time.Innards[1] & 0xFFFFFF) - kJulianDayOf1970) * 8640000 +
           time.Innards[0];
}

// Moves the local date of utc by the amounts, keeping the local time of day.
bool AdjustLocalDate(int64_t& utc, int days, int months, int years) {
    CivilTime local;
    if (!LocalCivil(utc, local))
        return false;
    const int64_t monthIndex = static_cast<int64_t>(local.year) * 12 + (local.month - 1) +
                               static_cast<int64_t>(years) * 12 + months;
    const int64_t year = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    if (year < 1 || year > 9999)
        return false;
    local.year = static_cast<int>(year);
    local.month = static_cast<int>(monthIndex - year * 12) + 1;
    local.day = std::min(local.day, DaysInMonth(local.year, local.month));
    const CivilTime moved = CivilOfSeconds(SecondsOfCivil(local) + int64_t{days} * 86400);
    return moved.year >= 1 && moved.year <= 9999 && UtcOfLocalCivil(moved, utc);
}

} // namespace

extern "C" NOTESRT_API void LNPUBLIC OSGetIntlSettings(INTLFORMAT* settings, uint16_t bufferSize) {
    RunPlainCall(0, [&](Runtime&) {
        if (settings == nullptr)
            return 0;
        const INTLFORMAT defaults = DefaultIntlSettings();
        std::memcpy(settings, &defaults, std::min<size_t>(bufferSize, sizeof defaults));
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC ConvertTextToTIMEDATE(const void* settings,
                                                             const TFMT* format, char** text,
                                                             uint16_t textLength, TIMEDATE* time) {
    return RunCall("ConvertTextToTIMEDATE", true, [&](Runtime&) -> STATUS {
        if (text == nullptr || *text == nullptr || time == nullptr)
            return kErrInvalidArgument;
        size_t length = 0;
        while (length < textLength && (*text)[length] != '\0')
            ++length;
        size_t used = 0;
        if (STATUS status =
                ParseTimeText(settings != nullptr ? *static_cast<const INTLFORMAT*>(settings)
                                                  : DefaultIntlSettings(),
                              format != nullptr ? *format : kDefaultTextFormat,
                              std::string_view(*text, length), used, *time))
            return status;
        *text += used;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC ConvertTIMEDATEToText(const void* settings,
                                                             const TFMT* format,
                                                             const TIMEDATE* time, char* buffer,
                                                             uint16_t bufferLength,
                                                             uint16_t* textLength) {
    return RunCall("ConvertTIMEDATEToText", true, [&](Runtime&) -> STATUS {
        if (time == nullptr || buffer == nullptr)
            return kErrInvalidArgument;
        std::string text;
        if (STATUS status =
                FormatTimeText(settings != nullptr ? *static_cast<const INTLFORMAT*>(settings)
                                                   : DefaultIntlSettings(),
                               format != nullptr ? *format : kDefaultTextFormat, *time, text))
            return status;
        if (text.size() > bufferLength)
            return kErrTextTooLong;
        std::memcpy(buffer, text.data(), text.size());
        if (textLength != nullptr)
            *textLength = static_cast<uint16_t>(text.size());
        return 0;
    });
}

extern "C" NOTESRT_API BOOL LNPUBLIC TimeGMToLocal(TIME* time) {
    return RunValueCall("TimeGMToLocal", 1, [&](Runtime&) {
        int64_t utc;
        unsigned hundredths;
        if (time == nullptr || !SplitTimeDate(time->GM, utc, hundredths))
            return 1;
        const int64_t local =
            utc - int64_t{time->zone} * 3600 + (time->dst != 0 ? int64_t{3600} : 0);
        const CivilTime civil = CivilOfSeconds(local);
        if (civil.year < 1 || civil.year > 9999)
            return 1;
        int64_t days = local / 86400;
        if (local % 86400 < 0)
            --days;
        time->year = civil.year;
        time->month = civil.month;
        time->day = civil.day;
        time->weekday = static_cast<int>(((days + 4) % 7 + 7) % 7) + 1;
        time->hour = civil.hour;
        time->minute = civil.minute;
        time->second = civil.second;
        time->hundredth = static_cast<int>(hundredths);
        return 0;
    });
}

extern "C" NOTESRT_API BOOL LNPUBLIC TimeDateAdjust(TIMEDATE* time, int seconds, int minutes,
                                                    int hours, int days, int months, int years) {
    return RunCall("TimeDateAdjust", true, [&](Runtime&) -> STATUS {
        if (time == nullptr)
            return kErrInvalidArgument;
        int64_t utc;
        unsigned hundredths;
        if (!SplitTimeDate(*time, utc, hundredths))
            return kErrTimeOutOfRange;
        utc += int64_t{seconds} + int64_t{minutes} * 60 + int64_t{hours} * 3600;
        if ((days != 0 || months != 0 || years != 0) && !AdjustLocalDate(utc, days, months, years))
            return kErrTimeOutOfRange;
        TIMEDATE adjusted;
        if (!TimeDateInProcessZone(utc, hundredths, adjusted) ||
            !SplitTimeDate(adjusted, utc, hundredths))
            return kErrTimeOutOfRange;
        *time = adjusted;
        return 0;
    });
}

extern "C" NOTESRT_API int LNPUBLIC TimeDateCompare(const TIMEDATE* first, const TIMEDATE* second) {
    if (first == nullptr || second == nullptr)
        return 0;
    const int64_t a = HundredthsOf(*first);
    const int64_t b = HundredthsOf(*second);
    return a < b ? -1 : a > b ? 1 : 0;
}

extern "C" NOTESRT_API LONG LNPUBLIC TimeDateDifference(const TIMEDATE* first,
                                                        const TIMEDATE* second) {
    if (first == nullptr || second == nullptr)
        return 0;
    const int64_t seconds = (HundredthsOf(*first) - HundredthsOf(*second)) / 100;
    return static_cast<int32_t>(std::clamp<int64_t>(seconds, INT32_MIN, INT32_MAX));
}

extern "C" NOTESRT_API void LNPUBLIC OSCurrentTIMEDATE(TIMEDATE* time) {
    if (time == nullptr)
        return;
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    const int64_t seconds = now / 1000;
    const auto hundredths = static_cast<unsigned>(now % 1000 / 10);
    if (!TimeDateInProcessZone(seconds, hundredths, *time))
        *time = MakeTimeDate(seconds, hundredths, 0, false);
}
