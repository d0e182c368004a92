// SHA-256 (FIPS 180-4), for fingerprinting contact photos in the host's output.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace host {

using Sha256Digest = std::array<uint8_t, 32>; // the 256-bit digest, big-endian words

// The digest of size bytes at data (data may be null when size is 0).
Sha256Digest Sha256(const uint8_t* data, size_t size);

} // namespace host
