// The per-user registry: HKEY_CURRENT_USER through advapi32.
#include "windows_api.h"

#include "platform/registry.h"

#include <cstring>
#include <vector>

namespace platform {

struct RegistryKeyObject {
    HKEY handle; // the open system key, closed by RegCloseKey
};

namespace {

REGSAM AccessFor(RegistryView view) {
    switch (view) {
    case RegistryView::Force64:
        return KEY_READ | KEY_WOW64_64KEY;
    case RegistryView::Force32:
        return KEY_READ | KEY_WOW64_32KEY;
    case RegistryView::Default:
        break;
    }
    return KEY_READ;
}

// Reads the raw bytes of a value; the value may change size between the size query and the
// read, so the read is repeated until it fits.
LONG ReadRawValue(HKEY key, const WCHAR* valueName, std::vector<BYTE>* bytes) {
    DWORD size = 0;
    LONG result = ::RegQueryValueExW(key, valueName, nullptr, nullptr, nullptr, &size);
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        bytes->resize(size);
        result = ::RegQueryValueExW(key, valueName, nullptr, nullptr, bytes->data(), &size);
        if (result == ERROR_SUCCESS) {
            bytes->resize(size);
            return ERROR_SUCCESS;
        }
    }
    return result;
}

} // namespace

long RegOpenCurrentUserKey(const WCHAR* subKey, RegistryView view, RegistryKey* key) {
    if (key == nullptr)
        return kErrorInvalidParameter;
    *key = nullptr;
    HKEY handle = nullptr;
    const LONG result = ::RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, AccessFor(view), &handle);
    if (result != ERROR_SUCCESS)
        return result;
    *key = new RegistryKeyObject{handle};
    return kErrorSuccess;
}

// Whatever type the value has, its bytes are taken as UTF-16 text; a value stored without a
// terminating NUL (or with an odd number of bytes) is given one, so callers always receive
// a terminated text and the size they are told counts it.
long RegQueryString(RegistryKey key, const WCHAR* valueName, WCHAR* data, uint32_t* dataBytes) {
    if (key == nullptr)
        return kErrorInvalidHandle;
    if (dataBytes == nullptr)
        return kErrorInvalidParameter;
    std::vector<BYTE> bytes;
    const LONG result = ReadRawValue(key->handle, valueName, &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (bytes.size() % sizeof(WCHAR) != 0)
        bytes.push_back(0);
    const size_t units = bytes.size() / sizeof(WCHAR);
    WCHAR last = 0;
    if (units > 0)
        std::memcpy(&last, bytes.data() + bytes.size() - sizeof(WCHAR), sizeof(WCHAR));
    if (units == 0 || last != 0)
        bytes.insert(bytes.end(), sizeof(WCHAR), 0);

    const uint32_t needed = static_cast<uint32_t>(bytes.size());
    if (data == nullptr) {
        *dataBytes = needed;
        return kErrorSuccess;
    }
    if (*dataBytes < needed) {
        *dataBytes = needed;
        return kErrorMoreData;
    }
    std::memcpy(data, bytes.data(), needed);
    *dataBytes = needed;
    return kErrorSuccess;
}

long RegCloseKey(RegistryKey key) {
    if (key == nullptr)
        return kErrorInvalidHandle;
    const LONG result = ::RegCloseKey(key->handle);
    delete key;
    return result;
}

bool RegistryIsStoreFile() {
    return false;
}

} // namespace platform
