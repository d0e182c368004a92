#include "hex.h"

namespace host {

std::string HexEncode(const uint8_t* bytes, size_t size, HexCase letterCase) {
    const char* digits = letterCase == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0xF]);
    }
    return text;
}

} // namespace host
