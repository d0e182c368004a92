// Automation strings (BSTR): a 32-bit byte length in front of the text and a NUL after it.
// Windows: oleaut32. Elsewhere the same layout on the C heap.
#pragma once

#include "platform/unique_handle.h"
#include "platform/wintypes.h"

#include <cstdint>

namespace platform {

// A new string holding text up to its NUL; null for null text or when memory runs out.
// The caller frees it with SysFreeString.
BSTR SysAllocString(const WCHAR* text);

// A new string of len units copied from text (or left zeroed when text is null).
BSTR SysAllocStringLen(const WCHAR* text, uint32_t len);

// A new string of len bytes copied from bytes (uninitialised when bytes is null); the
// length prefix counts bytes, so an odd length is possible.
BSTR SysAllocStringByteLen(const char* bytes, uint32_t len);

// Length in units (bytes / 2, rounded down) and in bytes; 0 for null.
uint32_t SysStringLen(BSTR s);
uint32_t SysStringByteLen(BSTR s);

// Frees a string from the calls above; null does nothing.
void SysFreeString(BSTR s);

// Owns a string from the calls above.
struct BstrTraits {
    using Handle = BSTR;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { SysFreeString(h); }
};
using UniqueBstr = UniqueHandle<BstrTraits>;

} // namespace platform
