// Exclusive creation of an empty file.
#include "platform/fs.h"

#include "errno_map.h"
#include "text.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool CreateNewFileW(const WCHAR* path) {
    if (!detail::CheckPath(path))
        return false;
    const int fd =
        open(detail::WideToUtf8(path).c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        detail::SetLastErrorFromErrno();
        return false;
    }
    close(fd);
    return true;
}

} // namespace platform
