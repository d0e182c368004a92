#include "platform/oleauto.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);  // the byte length in front of the text
constexpr size_t kTerminatorBytes = sizeof(WCHAR); // the NUL after the text
constexpr uint32_t kMaxBytes = 0xFFFFFFFFu - 8;    // keeps the block size in range

// From this size on a block's pages are faulted in by one call before it is written (a whole
// document, written right away), not one fault per page.
constexpr size_t kPrefaultBytes = size_t(1) << 20;

// Asks the kernel to map the whole pages of the block writable now. Only a hint: where it is
// refused, the writes fault the pages in as usual.
void Prefault(void* block, size_t size) {
#ifdef MADV_POPULATE_WRITE
    if (size < kPrefaultBytes)
        return;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + size) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)block;
    (void)size;
#endif
}

// A block holding byteLen bytes, copied from bytes unless it is null (then zeros when zero is
// set, else left as malloc gives them). Null when the length is out of range or memory runs
// out.
BSTR Allocate(const void* bytes, uint32_t byteLen, bool zero) {
    if (byteLen > kMaxBytes)
        return nullptr;
    const size_t size = kPrefixBytes + size_t(byteLen) + kTerminatorBytes;
    auto* block = static_cast<unsigned char*>(std::malloc(size));
    if (block == nullptr)
        return nullptr;
    Prefault(block, size);
    std::memcpy(block, &byteLen, kPrefixBytes);
    unsigned char* text = block + kPrefixBytes;
    if (bytes != nullptr)
        std::memcpy(text, bytes, byteLen);
    else if (zero)
        std::memset(text, 0, byteLen);
    std::memset(text + byteLen, 0, kTerminatorBytes);
    return reinterpret_cast<BSTR>(text);
}

unsigned char* BlockOf(BSTR s) {
    return reinterpret_cast<unsigned char*>(s) - kPrefixBytes;
}

} // namespace

BSTR SysAllocString(const WCHAR* text) {
    if (text == nullptr)
        return nullptr;
    const size_t len = std::char_traits<WCHAR>::length(text);
    if (len > kMaxBytes / sizeof(WCHAR))
        return nullptr;
    return Allocate(text, static_cast<uint32_t>(len * sizeof(WCHAR)), true);
}

BSTR SysAllocStringLen(const WCHAR* text, uint32_t len) {
    if (len > kMaxBytes / sizeof(WCHAR))
        return nullptr;
    return Allocate(text, static_cast<uint32_t>(len * sizeof(WCHAR)), true);
}

BSTR SysAllocStringByteLen(const char* bytes, uint32_t len) {
    return Allocate(bytes, len, false);
}

uint32_t SysStringByteLen(BSTR s) {
    if (s == nullptr)
        return 0;
    uint32_t byteLen;
    std::memcpy(&byteLen, BlockOf(s), kPrefixBytes);
    return byteLen;
}

uint32_t SysStringLen(BSTR s) {
    return SysStringByteLen(s) / sizeof(WCHAR);
}

void SysFreeString(BSTR s) {
    if (s != nullptr)
        std::free(BlockOf(s));
}

} // namespace platform
