// Code-page conversion and comparison: the system's own calls.
#include "windows_api.h"

#include "platform/codepage.h"

namespace platform {

unsigned GetACP() {
    return ::GetACP();
}

int MultiByteToWideChar(unsigned codePage, uint32_t flags, const char* src, int srcLen, WCHAR* dst,
                        int dstLen) {
    return ::MultiByteToWideChar(codePage, flags, src, srcLen, dst, dstLen);
}

int WideCharToMultiByte(unsigned codePage, uint32_t flags, const WCHAR* src, int srcLen, char* dst,
                        int dstLen) {
    return ::WideCharToMultiByte(codePage, flags, src, srcLen, dst, dstLen, nullptr, nullptr);
}

int CompareStringIgnoreCase(const WCHAR* a, int aLen, const WCHAR* b, int bLen) {
    if (a == nullptr || b == nullptr)
        return 0;
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, aLen, b, bLen);
}

} // namespace platform
