#include "platform/process.h"

#include "text.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

void OutputDebugStringW(const WCHAR* text) {
    if (text != nullptr)
        std::fputs(detail::WideToUtf8(text).c_str(), stderr);
}

uint32_t GetCurrentProcessId() {
    return static_cast<uint32_t>(getpid());
}

void* FindHostSymbol(const char* name) {
    return name != nullptr ? dlsym(RTLD_DEFAULT, name) : nullptr;
}

const char* GetEnv(const char* name) {
    return name != nullptr ? std::getenv(name) : nullptr;
}

bool SetEnv(const char* name, const char* value) {
    if (name == nullptr)
        return false;
    return (value != nullptr ? setenv(name, value, 1) : unsetenv(name)) == 0;
}

} // namespace platform
