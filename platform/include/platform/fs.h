// Files and directories. Narrow paths are in the ANSI code page, wide paths UTF-16; on POSIX
// both reach the file system as UTF-8.
#pragma once

#include "platform/unique_handle.h"
#include "platform/wintypes.h"

#include <cstdint>

namespace platform {

constexpr uint32_t kMaxPath = 260; // MAX_PATH

// True when a file or directory exists at path.
bool PathExistsW(const WCHAR* path);

// GetTempPath: writes the temporary directory with a trailing separator into buf (room for
// len characters and the NUL). Returns its length; when it does not fit, the length needed
// (NUL included) with buf untouched; 0 on failure.
uint32_t GetTempPathA(uint32_t len, char* buf);
uint32_t GetTempPathW(uint32_t len, WCHAR* buf);

// GetTempFileName with unique 0: makes a new empty file named <dir><prefix><hex>.tmp and
// writes its path into out (kMaxPath characters of room). Returns the number used, 0 on
// failure.
uint32_t GetTempFileNameA(const char* dir, const char* prefix, char* out);

enum class FileAccess {
    Read,     // existing file, reading; shared for reading and writing
    Write,    // created or truncated, writing
    Append,   // created if missing, writing at its end
    ReadWrite // existing file, reading and writing
};

struct FileObject;
using File = FileObject*; // an open file; null for none

// Opens a file; null on failure with the last error set.
File OpenFileA(const char* path, FileAccess access);
File OpenFileW(const WCHAR* path, FileAccess access);

// Reads up to size bytes; *done gets the bytes read (0 at end of file). False on failure.
bool ReadFile(File f, void* buf, uint32_t size, uint32_t* done);
// Writes size bytes; false unless all were written.
bool WriteFile(File f, const void* buf, uint32_t size);
// The file's size in bytes, or -1.
int64_t GetFileSize(File f);
void CloseFile(File f);

struct FileTraits {
    using Handle = File;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { CloseFile(h); }
};
using UniqueFile = UniqueHandle<FileTraits>;

bool DeleteFileA(const char* path);
bool DeleteFileW(const WCHAR* path);
bool CreateDirectoryW(const WCHAR* path);
// Removes an empty directory.
bool RemoveDirectoryW(const WCHAR* path);

// CreateFile with CREATE_NEW: makes an empty file at path, which must not exist yet, and closes
// it again. False when the file exists or cannot be made, with the last error set.
bool CreateNewFileW(const WCHAR* path);

// File attribute bits of a directory search entry (FILE_ATTRIBUTE_*).
constexpr uint32_t kFileAttributeReadOnly = 0x01;  // the entry cannot be written
constexpr uint32_t kFileAttributeDirectory = 0x10; // the entry is a directory
constexpr uint32_t kFileAttributeNormal = 0x80;    // a file with no other attribute

// One entry of a directory search, laid out as WIN32_FIND_DATAW.
struct FindDataW {
    uint32_t attributes;     // kFileAttribute* bits
    FILETIME creationTime;   // when the entry was made (POSIX: its last status change)
    FILETIME lastAccessTime; // when it was last read
    FILETIME lastWriteTime;  // when it was last written
    uint32_t sizeHigh;       // high 32 bits of a file's size in bytes
    uint32_t sizeLow;        // low 32 bits of a file's size in bytes
    uint32_t reserved0;      // unused, 0
    uint32_t reserved1;      // unused, 0
    WCHAR name[kMaxPath];    // the entry's name without its directory, NUL-terminated
    WCHAR alternateName[14]; // the short 8.3 name where the system has one, else empty
};

struct FindObject;
using FindHandle = FindObject*; // an open directory search; null for none

// FindFirstFileW: starts a search for the entries that match pattern, a path whose last
// component may hold the wildcards '*' (any run of characters) and '?' (one character). "."
// and ".." are found like any other entry. On POSIX the entries come in a fixed order: "."
// and ".." first, then by name; names are matched with their case.
// Returns the search, which the caller closes with FindClose, and fills *data with the first
// entry; null when nothing matches or the directory cannot be read, with the last error set.
FindHandle FindFirstFileW(const WCHAR* pattern, FindDataW* data);
// FindNextFileW: fills *data with the next entry; false when there is none.
bool FindNextFileW(FindHandle search, FindDataW* data);
// Ends a search; a null search is ignored.
void FindClose(FindHandle search);

// GetCurrentDirectory: the length written (without NUL), or the room needed when len is too
// small; 0 on failure. SetCurrentDirectory: false on failure.
uint32_t GetCurrentDirectoryW(uint32_t len, WCHAR* buf);
bool SetCurrentDirectoryW(const WCHAR* path);

// The separator the platform writes between path components: '\\' on Windows, '/' elsewhere.
char PathSeparator();

} // namespace platform
