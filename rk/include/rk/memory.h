// Heap memory of the toolkit, and a base class whose objects live on that heap.
#pragma once

#include "rk/export.h"

#include <cstddef>

// size bytes from the C runtime's heap (malloc); null when memory ran out. The caller frees
// the block with rk_mem_free.
RK_API void* rk_mem_alloc(unsigned size);

// Resizes a block from rk_mem_alloc as realloc does: returns the block (possibly moved), null
// when memory ran out (p is then still valid and still the caller's). A null p allocates.
RK_API void* rk_mem_realloc(void* p, unsigned size);

// Frees a block from rk_mem_alloc or rk_mem_realloc; null is ignored.
RK_API void rk_mem_free(void* p);

namespace RK {

// An empty base class whose objects are allocated with rk_mem_alloc and freed with
// rk_mem_free. Assigning one to another changes nothing.
class RK_API CObject {
  public:
    CObject() = default;
    CObject(const CObject&) = default;

    // Memory for one object; null when memory ran out (new then yields null, nothing throws).
    static void* operator new(std::size_t size) noexcept;
    // Frees memory from operator new; null is ignored.
    static void operator delete(void* p);

    CObject& operator=(const CObject& other);
};

} // namespace RK
