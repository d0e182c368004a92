// Files and directories through kernel32. Narrow paths are in the ANSI code page, as the
// system's "A" calls take them.
#include "windows_api.h"

#include "platform/fs.h"

#include <cstring>

namespace platform {

struct FileObject {
    HANDLE handle; // the open system file, closed by CloseFile
};

namespace {

// How CreateFile is asked to open a file for each kind of access. Every mode shares reading,
// writing and deleting, so that a file open here never blocks another opener, as on POSIX.
struct OpenMode {
    DWORD access;      // the rights asked for
    DWORD disposition; // what to do when the file exists or not
};

OpenMode ModeFor(FileAccess access) {
    switch (access) {
    case FileAccess::Write:
        return {GENERIC_WRITE, CREATE_ALWAYS};
    case FileAccess::Append:
        return {FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, OPEN_ALWAYS};
    case FileAccess::ReadWrite:
        return {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING};
    case FileAccess::Read:
        break;
    }
    return {GENERIC_READ, OPEN_EXISTING};
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Takes a handle from CreateFile; null (with the last error left as CreateFile set it) when
// the file could not be opened.
File Adopt(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return new FileObject{handle};
}

bool IsDotOrDotDot(const WCHAR* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

} // namespace

bool PathExistsA(const char* path) {
    return path != nullptr && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool PathExistsW(const WCHAR* path) {
    return path != nullptr && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// The system may write into a buffer that is too small; the caller's is written only when the
// whole path fits.
uint32_t GetTempPathA(uint32_t len, char* buf) {
    char path[MAX_PATH + 1];
    const DWORD length = ::GetTempPathA(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH)
        return 0;
    if (buf == nullptr || length >= len)
        return length + 1;
    std::memcpy(buf, path, length + 1);
    return length;
}

uint32_t GetTempPathW(uint32_t len, WCHAR* buf) {
    WCHAR path[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH)
        return 0;
    if (buf == nullptr || length >= len)
        return length + 1;
    std::memcpy(buf, path, (length + 1) * sizeof(WCHAR));
    return length;
}

uint32_t GetTempFileNameA(const char* dir, const char* prefix, char* out) {
    return ::GetTempFileNameA(dir, prefix, 0, out);
}

uint32_t GetTempFileNameW(const WCHAR* dir, const WCHAR* prefix, WCHAR* out) {
    return ::GetTempFileNameW(dir, prefix, 0, out);
}

File OpenFileA(const char* path, FileAccess access) {
    if (path == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const OpenMode mode = ModeFor(access);
    return Adopt(::CreateFileA(path, mode.access, kShareAll, nullptr, mode.disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

File OpenFileW(const WCHAR* path, FileAccess access) {
    if (path == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const OpenMode mode = ModeFor(access);
    return Adopt(::CreateFileW(path, mode.access, kShareAll, nullptr, mode.disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool ReadFile(File f, void* buf, uint32_t size, uint32_t* done) {
    if (done != nullptr)
        *done = 0;
    if (f == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD got = 0;
    if (!::ReadFile(f->handle, buf, size, &got, nullptr))
        return false;
    if (done != nullptr)
        *done = got;
    return true;
}

bool WriteFile(File f, const void* buf, uint32_t size) {
    if (f == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    const char* next = static_cast<const char*>(buf);
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(f->handle, next, size, &written, nullptr) || written == 0)
            return false;
        next += written;
        size -= written;
    }
    return true;
}

int64_t GetFileSize(File f) {
    LARGE_INTEGER size;
    if (f == nullptr || !::GetFileSizeEx(f->handle, &size))
        return -1;
    return size.QuadPart;
}

bool SeekFile(File f, int64_t offset) {
    if (f == nullptr || offset < 0)
        return false;
    LARGE_INTEGER target;
    target.QuadPart = offset;
    return ::SetFilePointerEx(f->handle, target, nullptr, FILE_BEGIN) != FALSE;
}

void CloseFile(File f) {
    if (f == nullptr)
        return;
    ::CloseHandle(f->handle);
    delete f;
}

bool DeleteFileA(const char* path) {
    return path != nullptr && ::DeleteFileA(path) != FALSE;
}

bool DeleteFileW(const WCHAR* path) {
    return path != nullptr && ::DeleteFileW(path) != FALSE;
}

bool CreateDirectoryA(const char* path) {
    return path != nullptr && ::CreateDirectoryA(path, nullptr) != FALSE;
}

bool CreateDirectoryW(const WCHAR* path) {
    return path != nullptr && ::CreateDirectoryW(path, nullptr) != FALSE;
}

bool RemoveDirectoryA(const char* path) {
    return path != nullptr && ::RemoveDirectoryA(path) != FALSE;
}

bool RemoveDirectoryW(const WCHAR* path) {
    return path != nullptr && ::RemoveDirectoryW(path) != FALSE;
}

bool ListDirectoryW(const WCHAR* dir, std::vector<DirectoryEntry>* entries) {
    if (dir == nullptr || entries == nullptr)
        return false;
    entries->clear();
    std::wstring pattern(dir);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';

    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND && PathExistsW(dir);
    do {
        if (IsDotOrDotDot(found.cFileName))
            continue;
        const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const uint64_t size =
            isDirectory ? 0
                        : (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entries->push_back(DirectoryEntry{found.cFileName, isDirectory, size});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return true;
}

uint32_t GetCurrentDirectoryA(uint32_t len, char* buf) {
    return ::GetCurrentDirectoryA(len, buf);
}

uint32_t GetCurrentDirectoryW(uint32_t len, WCHAR* buf) {
    return ::GetCurrentDirectoryW(len, buf);
}

bool SetCurrentDirectoryA(const char* path) {
    return path != nullptr && ::SetCurrentDirectoryA(path) != FALSE;
}

bool SetCurrentDirectoryW(const WCHAR* path) {
    return path != nullptr && ::SetCurrentDirectoryW(path) != FALSE;
}

char PathSeparator() {
    return '\\';
}

} // namespace platform
