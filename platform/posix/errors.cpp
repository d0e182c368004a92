#include "platform/errors.h"

namespace platform {
namespace {

thread_local uint32_t t_lastError = kErrorSuccess; // the calling thread's last error

} // namespace

uint32_t GetLastError() {
    return t_lastError;
}

void SetLastError(uint32_t error) {
    t_lastError = error;
}

} // namespace platform
