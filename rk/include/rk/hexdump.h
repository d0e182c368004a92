// A readable hexadecimal dump of a block of memory.
#pragma once

#include "rk/export.h"

namespace RK {

// The dump of a block, one LF-ended row per 16 bytes: the row's address (its low 32 bits) as
// "%08x : ", the bytes as "%02x " (three blanks for the places past the data), blanks up to
// column 62, then the bytes as characters with NUL and LF shown as blanks.
// Owns the text; it lives as long as the object. Copying is not allowed.
class RK_API CHexString {
  public:
    // Dumps the bytes from begin up to end (nothing when end is not after begin).
    CHexString(const void* begin, const void* end);
    // Dumps size bytes from data (nothing for a null data).
    CHexString(const void* data, unsigned size);
    ~CHexString();
    CHexString(const CHexString&) = delete;
    CHexString& operator=(const CHexString&) = delete;

    // The dump, NUL-terminated; empty for no data, null when memory ran out.
    operator char*();

  private:
    char* m_text; // the dump, allocated with rk_mem_alloc and freed by the destructor
};

} // namespace RK
