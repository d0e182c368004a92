// Turns C library errors into the Win32 error codes the platform calls leave behind.
#pragma once

#include <cstdint>

namespace platform::detail {

constexpr uint32_t kErrorPathNotFound = 3; // ERROR_PATH_NOT_FOUND: a folder on the way is missing

// The Win32 error that stands for errno value err.
uint32_t Win32ErrorFromErrno(int err);

// Sets the thread's last error from errno; for the failure paths of file calls.
void SetLastErrorFromErrno();

// False, with kErrorInvalidParameter as the last error, for a null path argument.
bool CheckPath(const void* path);

} // namespace platform::detail
