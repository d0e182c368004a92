// The process's time zone, and replacing a file, from the operating system.
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

} // namespace notesrt
