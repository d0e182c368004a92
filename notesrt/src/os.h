// The process's time zone, file stamps, writing and replacing files and locking them among
// processes, from the operating system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace notesrt {

// Seconds since 1970-01-01 00:00 UTC of a wall-clock time in the process's zone; false when
// the system cannot represent it.
bool LocalToUtc(int year, int month, int day, int hour, int minute, int second, int64_t& utc);

// The zone at the instant utc: its standard offset east of GMT in seconds, and whether
// daylight saving time is in effect then.
bool ZoneAt(int64_t utc, int32_t& standardOffsetEast, bool& dst);

// A text that changes when the process's zone is changed: $TZ on POSIX, the zone's
// description on Windows.
std::string ZoneIdentity();

// Renames replacement to target, replacing target in one step, so target always holds its
// old content or the new one; false when the system refuses. On Windows a target that a
// reader holds open is waited for (up to a second).
bool ReplaceFileWith(const std::filesystem::path& replacement, const std::filesystem::path& target);

// A new file written to the disk: created, written, flushed, closed with the object.
class NewFile {
  public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Creates path, which must not exist yet; false when the system refuses.
    bool Create(const std::filesystem::path& path);

    // Appends bytes; false unless all were written.
    bool Write(std::string_view bytes);

    // Returns once everything written is on the disk; false when the system cannot tell.
    bool Flush();

  private:
    intptr_t m_file = -1; // the descriptor (POSIX) or handle (Windows); -1 when none
};

// Returns once the entries of folder (a rename into it) are on the disk. Windows writes a
// rename through (ReplaceFileWith asks it to), so there it has nothing to do.
bool FlushFolder(const std::filesystem::path& folder);

// A lock that one process at a time holds, through a lock file that exists only while the
// lock is held: the holder removes it as it gives the lock up, and a waiter that then gets
// the removed file's lock tries again with the file that stands there now. flock on POSIX,
// LockFileEx on Windows; the system gives the lock up when its holder dies, and the next
// holder takes over the file left behind.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits until this object holds the lock that lockFile stands for; false when the system
    // refuses to make, open or lock the file.
    bool Acquire(const std::filesystem::path& lockFile);

    // Removes the lock file and gives the lock up; nothing when it is not held.
    void Release();

  private:
    std::filesystem::path m_path; // the lock file, while held
    intptr_t m_file = -1;         // its descriptor or handle, while held; else -1
};

// Opens file for reading into stream, binary; false when it cannot be opened. On Windows a
// file cannot be opened for a moment while a writer replaces it (ReplaceFileWith): that is
// waited for (up to a second).
bool OpenToRead(const std::filesystem::path& file, std::ifstream& stream);

// A file's size and its modification time in nanoseconds since 1970-01-01 UTC, at the full
// resolution the system keeps (the C++ library reads whole seconds on Windows); false when
// path names no regular file or the system cannot tell. On Windows a file that a writer is
// replacing is waited for, as OpenToRead does.
bool FileStampOf(const std::filesystem::path& path, uint64_t& size, int64_t& modified);

// The system's time now, on the scale of FileStampOf's modification times.
int64_t FileClockNow();

} // namespace notesrt
