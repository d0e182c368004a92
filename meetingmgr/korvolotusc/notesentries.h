// Reading the entries of a collection that a find has matched.
#pragma once

#include "notesapi.h"

#include <cstdint>
#include <functional>

// Receives one answer of note IDs: count 32-bit note IDs in the memory block noteIds, which
// the receiver frees.
using EntryReader = std::function<void(uint32_t count, DHANDLE noteIds)>;

// Reads matchCount entries from *position (as NIFFindByName left it), answer by answer while
// the runtime signals more, and hands each answer with entries to reader. A failed read is
// reported and ends the reading.
void ReadMatchedEtries(HCOLLECTION collection, COLLECTIONPOSITION* position, uint32_t matchCount,
                       const EntryReader& reader);
