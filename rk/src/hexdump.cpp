// The hexadecimal dump of a block of memory.
#include "rk/hexdump.h"

#include "rk/memory.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned kRowBytes = 16;
constexpr unsigned kTextColumn = 62; // where the bytes shown as characters start
constexpr unsigned kRoomPerByte = 5; // the buffer holds (size + kExtraBytes) * 5 bytes
constexpr unsigned kExtraBytes = 20;
constexpr char kHexDigits[] = "0123456789abcdef";

// Writes value as digits lower-case hexadecimal digits and returns the position after them.
char* PutHex(char* out, uint32_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        *out++ = kHexDigits[(value >> shift) & 0xF];
    return out;
}

char* PutBlanks(char* out, unsigned count) {
    std::memset(out, ' ', count);
    return out + count;
}

// Writes the row of count bytes (at most 16) at row and returns the position after its LF.
char* PutRow(char* out, const unsigned char* row, unsigned count) {
    char* const start = out;
    out = PutHex(out, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(row)), 8);
    out = PutBlanks(out, 1);
    *out++ = ':';
    out = PutBlanks(out, 1);
    for (unsigned i = 0; i < kRowBytes; ++i) {
        if (i < count) {
            out = PutHex(out, row[i], 2);
            out = PutBlanks(out, 1);
        } else {
            out = PutBlanks(out, 3);
        }
    }
    out = PutBlanks(out, kTextColumn - static_cast<unsigned>(out - start));
    for (unsigned i = 0; i < count; ++i)
        *out++ = row[i] == 0 || row[i] == '\n' ? ' ' : static_cast<char>(row[i]);
    *out++ = '\n';
    return out;
}

uintptr_t Address(const void* p) {
    return reinterpret_cast<uintptr_t>(p);
}

} // namespace

namespace RK {

CHexString::CHexString(const void* begin, const void* end)
    : CHexString(begin, Address(end) > Address(begin)
                            ? static_cast<unsigned>(Address(end) - Address(begin))
                            : 0) {}

CHexString::CHexString(const void* data, unsigned size) : m_text(nullptr) {
    if (data == nullptr)
        size = 0;
    if (size > UINT32_MAX / kRoomPerByte - kExtraBytes)
        return;
    m_text = static_cast<char*>(rk_mem_alloc((size + kExtraBytes) * kRoomPerByte));
    if (m_text == nullptr)
        return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    char* out = m_text;
    for (unsigned offset = 0; offset < size; offset += kRowBytes)
        out = PutRow(out, bytes + offset, size - offset < kRowBytes ? size - offset : kRowBytes);
    *out = '\0';
}

CHexString::~CHexString() {
    rk_mem_free(m_text);
}

CHexString::operator char*() {
    return m_text;
}

} // namespace RK
