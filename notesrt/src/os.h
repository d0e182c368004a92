// The process's time zone, file stamps and replacing a file, from the operating system.
#pragma once

#include <cstdint>
#include <filesystem>

namespace notesrt {

// Seconds since 1970-01-01 00:00 UTC of a wall-clock time in the process's zone; false when
// the system cannot represent it.
bool LocalToUtc(int year, int month, int day, int hour, int minute, int second, int64_t& utc);

// The zone at the instant utc: its standard offset east of GMT in seconds, and whether
// daylight saving time is in effect then.
bool ZoneAt(int64_t utc, int32_t& standardOffsetEast, bool& dst);

// Renames replacement to target, replacing target in one step, so target always holds its
// old content or the new one; false when the system refuses.
bool ReplaceFileWith(const std::filesystem::path& replacement, const std::filesystem::path& target);

// A file's size and its modification time in nanoseconds since 1970-01-01 UTC, at the full
// resolution the system keeps (the C++ library reads whole seconds on Windows); false when
// path names no regular file or the system cannot tell.
bool FileStampOf(const std::filesystem::path& path, uint64_t& size, int64_t& modified);

// The system's time now, on the scale of FileStampOf's modification times.
int64_t FileClockNow();

} // namespace notesrt
