// Time-zone services, file stamps and file replacement: the C library on POSIX, the Win32
// functions on Windows.
#include "os.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#endif

namespace notesrt {

#if defined(_WIN32)

namespace {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochOffset = 116444736000000000LL;

int64_t SecondsOf(const SYSTEMTIME& time) {
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file))
        return 0;
    const int64_t ticks = (static_cast<int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return (ticks - kEpochOffset) / 10000000LL;
}

int64_t NanosecondsOf(const FILETIME& time) {
    const int64_t ticks = (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (ticks - kEpochOffset) * 100;
}

bool SystemTimeOf(int64_t seconds, SYSTEMTIME& time) {
    const int64_t ticks = seconds * 10000000LL + kEpochOffset;
    FILETIME file;
    file.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
    file.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return FileTimeToSystemTime(&file, &time) != 0;
}

} // namespace

bool LocalToUtc(int year, int month, int day, int hour, int minute, int second, int64_t& utc) {
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    SYSTEMTIME universal;
    if (year < 1601 || year > 30827 ||
        !TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal))
        return false;
    utc = SecondsOf(universal);
    return true;
}

bool ZoneAt(int64_t utc, int32_t& standardOffsetEast, bool& dst) {
    SYSTEMTIME universal;
    SYSTEMTIME local;
    if (!SystemTimeOf(utc, universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return false;
    TIME_ZONE_INFORMATION zone;
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        return false;
    const int32_t offset = static_cast<int32_t>(SecondsOf(local) - utc);
    standardOffsetEast = -static_cast<int32_t>(zone.Bias + zone.StandardBias) * 60;
    dst = offset != standardOffsetEast;
    return true;
}

bool FileStampOf(const std::filesystem::path& path, uint64_t& size, int64_t& modified) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    modified = NanosecondsOf(data.ftLastWriteTime);
    return true;
}

int64_t FileClockNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return NanosecondsOf(now);
}

bool ReplaceFileWith(const std::filesystem::path& replacement,
                     const std::filesystem::path& target) {
    return MoveFileExW(replacement.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

#else

bool LocalToUtc(int year, int month, int day, int hour, int minute, int second, int64_t& utc) {
    struct tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const time_t result = mktime(&fields);
    if (result == static_cast<time_t>(-1) && !(fields.tm_year == 69 && fields.tm_mday == 31))
        return false;
    utc = static_cast<int64_t>(result);
    return true;
}

bool ZoneAt(int64_t utc, int32_t& standardOffsetEast, bool& dst) {
    const auto seconds = static_cast<time_t>(utc);
    struct tm fields;
    if (localtime_r(&seconds, &fields) == nullptr)
        return false;
    dst = fields.tm_isdst > 0;
    standardOffsetEast = static_cast<int32_t>(fields.tm_gmtoff) - (dst ? 3600 : 0);
    return true;
}

bool FileStampOf(const std::filesystem::path& path, uint64_t& size, int64_t& modified) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    size = static_cast<uint64_t>(info.st_size);
    modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return true;
}

int64_t FileClockNow() {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool ReplaceFileWith(const std::filesystem::path& replacement,
                     const std::filesystem::path& target) {
    return rename(replacement.c_str(), target.c_str()) == 0;
}

#endif

} // namespace notesrt
