// Automation strings from oleaut32.
#include "windows_api.h"

#include "platform/oleauto.h"

namespace platform {

BSTR SysAllocString(const WCHAR* text) {
    return ::SysAllocString(text);
}

BSTR SysAllocStringLen(const WCHAR* text, uint32_t len) {
    return ::SysAllocStringLen(text, len);
}

BSTR SysAllocStringByteLen(const char* bytes, uint32_t len) {
    return ::SysAllocStringByteLen(bytes, len);
}

uint32_t SysStringLen(BSTR s) {
    return ::SysStringLen(s);
}

uint32_t SysStringByteLen(BSTR s) {
    return ::SysStringByteLen(s);
}

void SysFreeString(BSTR s) {
    ::SysFreeString(s);
}

} // namespace platform
