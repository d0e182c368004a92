#include "platform/fs.h"

#include "platform/errors.h"

#include "errno_map.h"
#include "text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

// An open file.
struct FileObject {
    int fd; // the descriptor, owned
};

namespace {

int OpenFlags(FileAccess access) {
    switch (access) {
    case FileAccess::Write:
        return O_WRONLY | O_CREAT | O_TRUNC;
    case FileAccess::Append:
        return O_WRONLY | O_CREAT | O_APPEND;
    case FileAccess::ReadWrite:
        return O_RDWR;
    default:
        return O_RDONLY;
    }
}

// Opens a UTF-8 path; directories are refused as CreateFile refuses them.
File OpenUtf8(const std::string& path, FileAccess access) {
    const int fd = open(path.c_str(), OpenFlags(access) | O_CLOEXEC, 0666);
    if (fd < 0) {
        detail::SetLastErrorFromErrno();
        return nullptr;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        SetLastError(kErrorAccessDenied);
        return nullptr;
    }
    return new FileObject{fd};
}

bool DeleteUtf8(const std::string& path) {
    if (unlink(path.c_str()) == 0)
        return true;
    detail::SetLastErrorFromErrno();
    return false;
}

} // namespace

File OpenFileA(const char* path, FileAccess access) {
    return detail::CheckPath(path) ? OpenUtf8(detail::AnsiToUtf8(path), access) : nullptr;
}

File OpenFileW(const WCHAR* path, FileAccess access) {
    return detail::CheckPath(path) ? OpenUtf8(detail::WideToUtf8(path), access) : nullptr;
}

bool ReadFile(File f, void* buf, uint32_t size, uint32_t* done) {
    if (done != nullptr)
        *done = 0;
    if (f == nullptr || (buf == nullptr && size > 0)) {
        SetLastError(f == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter);
        return false;
    }
    uint32_t total = 0;
    while (total < size) {
        const ssize_t got = read(f->fd, static_cast<char*>(buf) + total, size - total);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            detail::SetLastErrorFromErrno();
            return false;
        }
        total += static_cast<uint32_t>(got);
    }
    if (done != nullptr)
        *done = total;
    return true;
}

bool WriteFile(File f, const void* buf, uint32_t size) {
    if (f == nullptr || (buf == nullptr && size > 0)) {
        SetLastError(f == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter);
        return false;
    }
    uint32_t total = 0;
    while (total < size) {
        const ssize_t put = write(f->fd, static_cast<const char*>(buf) + total, size - total);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            detail::SetLastErrorFromErrno();
            return false;
        }
        total += static_cast<uint32_t>(put);
    }
    return true;
}

int64_t GetFileSize(File f) {
    struct stat info {};
    if (f == nullptr || fstat(f->fd, &info) != 0) {
        SetLastError(kErrorInvalidHandle);
        return -1;
    }
    return static_cast<int64_t>(info.st_size);
}

void CloseFile(File f) {
    if (f == nullptr)
        return;
    close(f->fd);
    delete f;
}

bool DeleteFileA(const char* path) {
    return detail::CheckPath(path) && DeleteUtf8(detail::AnsiToUtf8(path));
}

bool DeleteFileW(const WCHAR* path) {
    return detail::CheckPath(path) && DeleteUtf8(detail::WideToUtf8(path));
}

} // namespace platform
