// The per-user registry: open a key under HKEY_CURRENT_USER, read a string value, close.
//
// Windows: the real registry. Elsewhere: a per-user store file ($KORVO_REGISTRY, else
// $XDG_CONFIG_HOME/korvolotus/registry.ini, else ~/.config/korvolotus/registry.ini), one
// INI section per key path; a section header may end in " (64)" or " (32)" to limit it to
// that registry view. Key paths compare without regard to case; a missing file is an
// empty registry.
#pragma once

#include "platform/errors.h"
#include "platform/unique_handle.h"
#include "platform/wintypes.h"

#include <cstdint>

namespace platform {

// The view a key is opened in: KEY_READ, KEY_READ|KEY_WOW64_64KEY, KEY_READ|KEY_WOW64_32KEY.
enum class RegistryView { Default, Force64, Force32 };

struct RegistryKeyObject;
using RegistryKey = RegistryKeyObject*; // an open key; null for none

// Opens HKEY_CURRENT_USER\subKey for reading in the given view. On success *key is a new
// key that the caller closes with RegCloseKey; on failure *key is null and the result is the
// Win32 error (kErrorFileNotFound when the key does not exist).
long RegOpenCurrentUserKey(const WCHAR* subKey, RegistryView view, RegistryKey* key);

// Reads a value as text into data, which holds *dataBytes bytes, as RegQueryValueExW does:
// on success *dataBytes is the number of bytes stored, the terminating NUL included; a value
// that does not fit gives kErrorMoreData with the needed size in *dataBytes; data may be
// null to ask for the size. A missing value gives kErrorFileNotFound.
long RegQueryString(RegistryKey key, const WCHAR* valueName, WCHAR* data, uint32_t* dataBytes);

// Closes a key from RegOpenCurrentUserKey. A null key gives kErrorInvalidHandle.
long RegCloseKey(RegistryKey key);

// Whether the keys come from a store file that $KORVO_REGISTRY may name: true for the
// substitute, false on Windows, where they are the real registry's.
bool RegistryIsStoreFile();

struct RegistryKeyTraits {
    using Handle = RegistryKey;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

} // namespace platform
