// The toolkit's heap and the base class that allocates from it.
#include "rk/memory.h"

#include <cstdlib>

void* rk_mem_alloc(unsigned size) {
    return std::malloc(size);
}

void* rk_mem_realloc(void* p, unsigned size) {
    return std::realloc(p, size);
}

void rk_mem_free(void* p) {
    std::free(p);
}

namespace RK {

void* CObject::operator new(std::size_t size) noexcept {
    const auto narrowed = static_cast<unsigned>(size);
    return narrowed == size ? rk_mem_alloc(narrowed) : nullptr;
}

void CObject::operator delete(void* p) {
    if (p != nullptr)
        rk_mem_free(p);
}

CObject& CObject::operator=(const CObject&) {
    return *this;
}

} // namespace RK
