#include "platform/fs.h"

#include "platform/errors.h"

#include "errno_map.h"
#include "text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {
namespace {

constexpr uint32_t kErrorAlreadyExists = 183; // ERROR_ALREADY_EXISTS, as CreateDirectory says

bool PathExistsUtf8(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool CreateDirectoryUtf8(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0)
        return true;
    if (errno == EEXIST)
        SetLastError(kErrorAlreadyExists);
    else
        detail::SetLastErrorFromErrno();
    return false;
}

bool RemoveDirectoryUtf8(const std::string& path) {
    if (rmdir(path.c_str()) == 0)
        return true;
    detail::SetLastErrorFromErrno();
    return false;
}

bool SetCurrentDirectoryUtf8(const std::string& path) {
    if (chdir(path.c_str()) == 0)
        return true;
    detail::SetLastErrorFromErrno();
    return false;
}

// The current directory in UTF-8; false (last error set) when it cannot be read.
bool CurrentDirectoryUtf8(std::string* path) {
    std::string buffer(256, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            detail::SetLastErrorFromErrno();
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    *path = std::move(buffer);
    return true;
}

} // namespace

bool PathExistsW(const WCHAR* path) {
    return path != nullptr && PathExistsUtf8(detail::WideToUtf8(path));
}

bool CreateDirectoryW(const WCHAR* path) {
    return detail::CheckPath(path) && CreateDirectoryUtf8(detail::WideToUtf8(path));
}

bool RemoveDirectoryW(const WCHAR* path) {
    return detail::CheckPath(path) && RemoveDirectoryUtf8(detail::WideToUtf8(path));
}

uint32_t GetCurrentDirectoryW(uint32_t len, WCHAR* buf) {
    std::string path;
    return CurrentDirectoryUtf8(&path) ? detail::CopyToBuffer(detail::Utf8ToWide(path), len, buf)
                                       : 0;
}

bool SetCurrentDirectoryW(const WCHAR* path) {
    return detail::CheckPath(path) && SetCurrentDirectoryUtf8(detail::WideToUtf8(path));
}

char PathSeparator() {
    return '/';
}

} // namespace platform
