// Process services: debugger output, process id, and symbols exported by the host program.
#pragma once

#include "platform/wintypes.h"

#include <cstdint>

namespace platform {

// OutputDebugString: to the debugger on Windows, to standard error elsewhere.
void OutputDebugStringW(const WCHAR* text);

uint32_t GetCurrentProcessId();

// The address of a function the main executable exports by this name, or null.
void* FindHostSymbol(const char* name);

// The value of an environment variable, or null (the pointer is the process's own).
const char* GetEnv(const char* name);

// Sets (or, for a null value, removes) an environment variable of this process; false on
// failure.
bool SetEnv(const char* name, const char* value);

} // namespace platform
