#include "platform/clock.h"

#include "platform/errors.h"

#include <ctime>
#include <mutex>

namespace platform {
namespace {

constexpr uint64_t kTicksPerMillisecond = 10000; // FILETIME counts 100 ns
constexpr uint64_t kMillisecondsPerDay = 86400000;
constexpr uint64_t kFirstInvalidFileTime = 1ull << 63; // FileTimeToSystemTime's limit
constexpr int64_t kDaysFrom1601To1970 = 134774;
constexpr int kWeekdayOf1601 = 1; // 1601-01-01 was a Monday

std::mutex g_fixedLock;
bool g_fixedSet = false; // a test fixed the local time; guarded by g_fixedLock
SYSTEMTIME g_fixed{};    // the time GetLocalTime then answers; guarded by g_fixedLock

// The civil date of a day counted from 1970-01-01 (proleptic Gregorian calendar).
void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day) {
    days += 719468; // from 0000-03-01
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
    *day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    *month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    *year = static_cast<int64_t>(yearOfEra) + era * 400 + (*month <= 2 ? 1 : 0);
}

} // namespace

void GetLocalTime(SYSTEMTIME* now) {
    if (now == nullptr)
        return;
    {
        std::lock_guard<std::mutex> guard(g_fixedLock);
        if (g_fixedSet) {
            *now = g_fixed;
            return;
        }
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    now->wYear = static_cast<uint16_t>(local.tm_year + 1900);
    now->wMonth = static_cast<uint16_t>(local.tm_mon + 1);
    now->wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
    now->wDay = static_cast<uint16_t>(local.tm_mday);
    now->wHour = static_cast<uint16_t>(local.tm_hour);
    now->wMinute = static_cast<uint16_t>(local.tm_min);
    now->wSecond = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    now->wMilliseconds = static_cast<uint16_t>(ts.tv_nsec / 1000000);
}

bool FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st) {
    if (ft == nullptr || st == nullptr) {
        SetLastError(kErrorInvalidParameter);
        return false;
    }
    const uint64_t ticks = (uint64_t(ft->dwHighDateTime) << 32) | ft->dwLowDateTime;
    if (ticks >= kFirstInvalidFileTime) {
        SetLastError(kErrorInvalidParameter);
        return false;
    }
    const uint64_t milliseconds = ticks / kTicksPerMillisecond;
    const uint64_t days = milliseconds / kMillisecondsPerDay;
    uint64_t rest = milliseconds % kMillisecondsPerDay;
    int64_t year;
    unsigned month;
    unsigned day;
    CivilFromDays(static_cast<int64_t>(days) - kDaysFrom1601To1970, &year, &month, &day);
    st->wYear = static_cast<uint16_t>(year);
    st->wMonth = static_cast<uint16_t>(month);
    st->wDay = static_cast<uint16_t>(day);
    st->wDayOfWeek = static_cast<uint16_t>((days + kWeekdayOf1601) % 7);
    st->wMilliseconds = static_cast<uint16_t>(rest % 1000);
    rest /= 1000;
    st->wSecond = static_cast<uint16_t>(rest % 60);
    rest /= 60;
    st->wMinute = static_cast<uint16_t>(rest % 60);
    st->wHour = static_cast<uint16_t>(rest / 60);
    return true;
}

void SetLocalTimeForTesting(const SYSTEMTIME* fixed) {
    std::lock_guard<std::mutex> guard(g_fixedLock);
    g_fixedSet = fixed != nullptr;
    if (fixed != nullptr)
        g_fixed = *fixed;
}

} // namespace platform
