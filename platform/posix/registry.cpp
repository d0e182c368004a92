#include "platform/registry.h"

#include "registry_store.h"

#include "platform/codepage.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// An open key: the values it had when it was opened.
struct RegistryKeyObject {
    std::vector<detail::StoreValue> values; // the key's string values
};

namespace {

bool SameName(const detail::WideString& a, const WCHAR* b) {
    const WCHAR zero[] = {0};
    const WCHAR* name = b != nullptr ? b : zero;
    return CompareStringIgnoreCase(a.c_str(), static_cast<int>(a.size()), name, -1) == 2;
}

} // namespace

long RegOpenCurrentUserKey(const WCHAR* subKey, RegistryView view, RegistryKey* key) {
    if (key == nullptr)
        return kErrorInvalidParameter;
    *key = nullptr;
    auto opened = std::make_unique<RegistryKeyObject>();
    const detail::WideString path = subKey != nullptr ? subKey : detail::WideString();
    const long result = detail::LoadRegistryKey(path, view, &opened->values);
    if (result == kErrorSuccess)
        *key = opened.release();
    return result;
}

long RegQueryString(RegistryKey key, const WCHAR* valueName, WCHAR* data, uint32_t* dataBytes) {
    if (key == nullptr)
        return kErrorInvalidHandle;
    if (data != nullptr && dataBytes == nullptr)
        return kErrorInvalidParameter;
    for (const detail::StoreValue& value : key->values) {
        if (!SameName(value.name, valueName))
            continue;
        if (dataBytes == nullptr)
            return kErrorSuccess;
        const auto needed = static_cast<uint32_t>((value.data.size() + 1) * sizeof(WCHAR));
        const uint32_t room = *dataBytes;
        *dataBytes = needed;
        if (data == nullptr)
            return kErrorSuccess;
        if (room < needed)
            return kErrorMoreData;
        std::memcpy(data, value.data.c_str(), needed);
        return kErrorSuccess;
    }
    return kErrorFileNotFound;
}

long RegCloseKey(RegistryKey key) {
    if (key == nullptr)
        return kErrorInvalidHandle;
    delete key;
    return kErrorSuccess;
}

bool RegistryIsStoreFile() {
    return true;
}

} // namespace platform
