// Finding the Notes installation in the registry.
#pragma once

#include "platform/wintypes.h"

// Reads HKEY_CURRENT_USER\subKey valueName (trying the default, the 64-bit and the 32-bit
// registry view) as ANSI text into out (at least 1024 bytes). False, with out empty, when the
// key or value is missing or the text is longer than 1023 bytes.
bool ReadRegistry(const WCHAR* subKey, const WCHAR* valueName, char* out);

// The notes.ini path: the user setting when it looks right, else the default key. False,
// with out empty, when neither gives one.
bool GetNotesIniPathFromRegistry(char* out);
