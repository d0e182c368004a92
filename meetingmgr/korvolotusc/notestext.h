// Owned narrow texts made from host strings or from runtime bytes: LMBCS text for the
// runtime, UTF-8 text, and plain copies.
#pragma once

#include "KorvoLotusC.h"

#include <cstdint>
#include <memory>

// An owned heap text: length bytes and a NUL after them. The holder owns the block and frees
// it by resetting or destroying the entry; after a failure the entry has no block and length
// 0.
struct TextEntry {
    std::unique_ptr<char[]> text; // length bytes and a NUL; null when no text was made
    uint32_t length = 0;          // bytes before the NUL

    // The text, or an empty text when there is no block.
    const char* c_str() const { return text ? text.get() : ""; }
};

// Replaces out with text translated to LMBCS (through UTF-8). An empty text gives a block of
// one NUL and length 0; a failed allocation is logged and leaves out without a block.
void ConstructNotesLMBCSTextFromCString(const CString& text, TextEntry& out);

// Replaces out with text as UTF-8. An empty text gives a block of one NUL and length 0; a
// failed allocation is logged and leaves out without a block.
void ConstructUTF8TextFromCString(const CString& text, TextEntry& out);

// Replaces out with a copy of length bytes of source. A null source or a length of 0 is
// logged and leaves out without a block, as does a failed allocation.
void ConstructTextEntry(const char* source, uint32_t length, TextEntry& out);
