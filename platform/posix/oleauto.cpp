#include "platform/oleauto.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);  // the byte length in front of the text
constexpr size_t kTerminatorBytes = sizeof(WCHAR); // the NUL after the text
constexpr uint32_t kMaxBytes = 0xFFFFFFFFu - 8;    // keeps the block size in range

// A block holding byteLen bytes, copied from bytes unless it is null (zeros then). Null when
// the length is out of range or memory runs out.
BSTR Allocate(const void* bytes, uint32_t byteLen) {
    if (byteLen > kMaxBytes)
        return nullptr;
    auto* block =
        static_cast<unsigned char*>(std::malloc(kPrefixBytes + size_t(byteLen) + kTerminatorBytes));
    if (block == nullptr)
        return nullptr;
    std::memcpy(block, &byteLen, kPrefixBytes);
    unsigned char* text = block + kPrefixBytes;
    if (bytes != nullptr)
        std::memcpy(text, bytes, byteLen);
    else
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
    return Allocate(text, static_cast<uint32_t>(len * sizeof(WCHAR)));
}

BSTR SysAllocStringLen(const WCHAR* text, uint32_t len) {
    if (len > kMaxBytes / sizeof(WCHAR))
        return nullptr;
    return Allocate(text, static_cast<uint32_t>(len * sizeof(WCHAR)));
}

BSTR SysAllocStringByteLen(const char* bytes, uint32_t len) {
    return Allocate(bytes, len);
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
