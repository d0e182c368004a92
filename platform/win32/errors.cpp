// The thread's last error is the system's own.
#include "windows_api.h"

#include "platform/errors.h"

namespace platform {

uint32_t GetLastError() {
    return ::GetLastError();
}

void SetLastError(uint32_t error) {
    ::SetLastError(error);
}

} // namespace platform
