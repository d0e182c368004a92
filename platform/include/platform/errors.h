// Win32 error codes the platform calls return or leave as the thread's last error.
#pragma once

#include <cstdint>

namespace platform {

constexpr long kErrorSuccess = 0;                // the call succeeded
constexpr long kErrorFileNotFound = 2;           // no such key, value or file
constexpr long kErrorAccessDenied = 5;           // the object cannot be opened as asked
constexpr long kErrorInvalidHandle = 6;          // a null or closed handle
constexpr long kErrorInvalidParameter = 87;      // an argument is out of range
constexpr long kErrorInsufficientBuffer = 122;   // the output did not fit (conversions)
constexpr long kErrorMoreData = 234;             // the value did not fit (registry)
constexpr long kErrorNoUnicodeTranslation = 1113; // invalid input with a strict flag

// The calling thread's last error, as the conversions and file calls leave it.
uint32_t GetLastError();
void SetLastError(uint32_t error);

} // namespace platform
