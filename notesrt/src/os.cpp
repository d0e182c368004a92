// Time-zone services, file stamps, file writing, replacement and locks: the C library on
// POSIX, the Win32 functions on Windows.
#include "os.h"

#include <algorithm>

#if defined(_WIN32)
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
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

namespace {

// How long a file that a writer is replacing, or a target that a reader holds open, is waited
// for, in milliseconds: Windows opens no file while it is replaced, and renames nothing over a
// file open for reading.
constexpr ULONGLONG kReplacementWaitMs = 1000;

// Whether the last call failed as it fails on a file that is being replaced or is held open.
bool BeingReplaced() {
    const DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

} // namespace

bool OpenToRead(const std::filesystem::path& file, std::ifstream& stream) {
    const ULONGLONG deadline = GetTickCount64() + kReplacementWaitMs;
    for (;;) {
        stream.open(file, std::ios::binary);
        if (stream.is_open())
            return true;
        stream.clear();
        const DWORD attributes = GetFileAttributesW(file.c_str());
        if ((attributes == INVALID_FILE_ATTRIBUTES && !BeingReplaced()) ||
            GetTickCount64() > deadline)
            return false;
        Sleep(1);
    }
}

std::string ZoneIdentity() {
    TIME_ZONE_INFORMATION zone = {};
    GetTimeZoneInformation(&zone);
    return std::string(reinterpret_cast<const char*>(&zone), sizeof zone);
}

bool FileStampOf(const std::filesystem::path& path, uint64_t& size, int64_t& modified) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    const ULONGLONG deadline = GetTickCount64() + kReplacementWaitMs;
    while (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        if (!BeingReplaced() || GetTickCount64() > deadline)
            return false;
        Sleep(1);
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
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

namespace {

HANDLE HandleOf(intptr_t file) {
    return reinterpret_cast<HANDLE>(file);
}

// How often a lock file that its holder is removing is waited for, a millisecond each time,
// before the lock counts as refused.
constexpr int kRemovalWaits = 10000;

} // namespace

bool ReplaceFileWith(const std::filesystem::path& replacement,
                     const std::filesystem::path& target) {
    const ULONGLONG deadline = GetTickCount64() + kReplacementWaitMs;
    while (!MoveFileExW(replacement.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (!BeingReplaced() || GetTickCount64() > deadline)
            return false;
        Sleep(1);
    }
    return true;
}

NewFile::~NewFile() {
    if (m_file != -1)
        CloseHandle(HandleOf(m_file));
}

bool NewFile::Create(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    m_file = reinterpret_cast<intptr_t>(file);
    return true;
}

bool NewFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto piece = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(HandleOf(m_file), bytes.data(), piece, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool NewFile::Flush() {
    return FlushFileBuffers(HandleOf(m_file)) != 0;
}

bool FlushFolder(const std::filesystem::path&) {
    return true;
}

bool FileLock::Acquire(const std::filesystem::path& lockFile) {
    Release();
    for (int waits = 0;;) {
        const HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            // A file that its holder has marked for removal cannot be opened until it is gone.
            if (GetLastError() != ERROR_ACCESS_DENIED || ++waits > kRemovalWaits)
                return false;
            Sleep(1);
            continue;
        }
        OVERLAPPED whole = {};
        FILE_STANDARD_INFO info = {};
        if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole) ||
            !GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info)) {
            CloseHandle(file);
            return false;
        }
        if (!info.DeletePending) {
            m_path = lockFile;
            m_file = reinterpret_cast<intptr_t>(file);
            return true;
        }
        CloseHandle(file);
    }
}

void FileLock::Release() {
    if (m_file == -1)
        return;
    FILE_DISPOSITION_INFO removal = {};
    removal.DeleteFile = TRUE;
    SetFileInformationByHandle(HandleOf(m_file), FileDispositionInfo, &removal, sizeof removal);
    OVERLAPPED whole = {};
    UnlockFileEx(HandleOf(m_file), 0, 1, 0, &whole);
    CloseHandle(HandleOf(m_file));
    m_file = -1;
    m_path.clear();
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

bool OpenToRead(const std::filesystem::path& file, std::ifstream& stream) {
    stream.open(file, std::ios::binary);
    return stream.is_open();
}

std::string ZoneIdentity() {
    const char* zone = getenv("TZ");
    return zone == nullptr ? std::string(1, '\0') : std::string(zone);
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

NewFile::~NewFile() {
    if (m_file != -1)
        close(static_cast<int>(m_file));
}

bool NewFile::Create(const std::filesystem::path& path) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0)
        return false;
    m_file = file;
    return true;
}

bool NewFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(static_cast<int>(m_file), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool NewFile::Flush() {
    return fsync(static_cast<int>(m_file)) == 0;
}

bool FlushFolder(const std::filesystem::path& folder) {
    const int file =
        open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool flushed = fsync(file) == 0;
    close(file);
    return flushed;
}

bool FileLock::Acquire(const std::filesystem::path& lockFile) {
    Release();
    for (;;) {
        const int file = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (file < 0)
            return false;
        int locked;
        do
            locked = flock(file, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        struct stat held;
        if (locked != 0 || fstat(file, &held) != 0) {
            close(file);
            return false;
        }
        // The file stands under its name still unless its last holder removed it meanwhile.
        struct stat named;
        if (stat(lockFile.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev) {
            m_path = lockFile;
            m_file = file;
            return true;
        }
        close(file);
    }
}

void FileLock::Release() {
    if (m_file == -1)
        return;
    unlink(m_path.c_str());
    close(static_cast<int>(m_file));
    m_file = -1;
    m_path.clear();
}

#endif

} // namespace notesrt
