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

} // namespace

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

bool CreateDirectoryW(const WCHAR* path) {
    return path != nullptr && ::CreateDirectoryW(path, nullptr) != FALSE;
}

bool RemoveDirectoryW(const WCHAR* path) {
    return path != nullptr && ::RemoveDirectoryW(path) != FALSE;
}

uint32_t GetCurrentDirectoryW(uint32_t len, WCHAR* buf) {
    return ::GetCurrentDirectoryW(len, buf);
}

bool SetCurrentDirectoryW(const WCHAR* path) {
    return path != nullptr && ::SetCurrentDirectoryW(path) != FALSE;
}

char PathSeparator() {
    return '\\';
}

} // namespace platform
