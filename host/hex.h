// Bytes written as hexadecimal digits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace host {

enum class HexCase { Lower, Upper };

// Two digits per byte, first byte first.
std::string HexEncode(const uint8_t* bytes, size_t size, HexCase letterCase);

} // namespace host
