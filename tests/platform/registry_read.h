// Reads a registry value as the library does, reporting failures among the expected texts.
#pragma once

#include "wide_text.h"

#include "platform/registry.h"

#include <vector>

// Reads name from HKEY_CURRENT_USER\path into a 2048-byte buffer: the text read, or
// "<open N>" / "<query N>" for a failure. *bytes, when given, gets the size reported.
inline std::u16string ReadRegistryValue(const char16_t* path, platform::RegistryView view,
                                        const char16_t* name, uint32_t* bytes = nullptr) {
    platform::UniqueRegistryKey key;
    const long opened = platform::RegOpenCurrentUserKey(W(path).c_str(), view, key.Put());
    if (opened != 0)
        return Failure("open", opened);
    std::vector<WCHAR> data(1024, WCHAR());
    uint32_t size = 2048;
    const long read = platform::RegQueryString(key.Get(), W(name).c_str(), data.data(), &size);
    if (bytes != nullptr)
        *bytes = size;
    if (read != 0)
        return Failure("query", read);
    return U16(data.data(), size / sizeof(WCHAR) - 1);
}
