#include "errno_map.h"

#include "platform/errors.h"

#include <cerrno>

namespace platform::detail {
namespace {

// Win32 codes that only the file calls use, so errors.h does not name them.
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorDiskFull = 112;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorFilenameTooLong = 206;
constexpr uint32_t kErrorGenFailure = 31;

} // namespace

uint32_t Win32ErrorFromErrno(int err) {
    switch (err) {
    case 0:
        return kErrorSuccess;
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
        return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return kErrorAccessDenied;
    case EBADF:
        return kErrorInvalidHandle;
    case EEXIST:
        return kErrorFileExists;
    case ENOTEMPTY:
        return kErrorDirNotEmpty;
    case ENOSPC:
        return kErrorDiskFull;
    case ENAMETOOLONG:
        return kErrorFilenameTooLong;
    case EINVAL:
        return kErrorInvalidParameter;
    default:
        return kErrorGenFailure;
    }
}

void SetLastErrorFromErrno() {
    SetLastError(Win32ErrorFromErrno(errno));
}

bool CheckPath(const void* path) {
    if (path == nullptr)
        SetLastError(kErrorInvalidParameter);
    return path != nullptr;
}

} // namespace platform::detail
