// Debugger output, the process id, the host's exported symbols and the environment.
#include "windows_api.h"

#include "platform/process.h"

#include <cstdlib>

namespace platform {

void OutputDebugStringW(const WCHAR* text) {
    if (text != nullptr)
        ::OutputDebugStringW(text);
}

uint32_t GetCurrentProcessId() {
    return ::GetCurrentProcessId();
}

void* FindHostSymbol(const char* name) {
    if (name == nullptr)
        return nullptr;
    const HMODULE host = ::GetModuleHandleW(nullptr);
    if (host == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(host, name));
}

const char* GetEnv(const char* name) {
    return name != nullptr ? std::getenv(name) : nullptr;
}

bool SetEnv(const char* name, const char* value) {
    if (name == nullptr)
        return false;
    return _putenv_s(name, value != nullptr ? value : "") == 0;
}

} // namespace platform
