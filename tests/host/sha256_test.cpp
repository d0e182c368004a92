#include "hex.h"
#include "sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DigestCase {
    std::string message; // the bytes hashed
    const char* digest;  // the expected digest, lower-case hex
};

class Sha256Test : public testing::TestWithParam<DigestCase> {};

TEST_P(Sha256Test, MatchesTheKnownDigest) {
    const std::string& m = GetParam().message;
    const host::Sha256Digest digest =
        host::Sha256(reinterpret_cast<const uint8_t*>(m.data()), m.size());
    EXPECT_EQ(host::HexEncode(digest.data(), digest.size(), host::HexCase::Lower),
              GetParam().digest);
}

// FIPS 180-4 examples (the long one spans many blocks), then lengths around the padding
// boundaries (55 bytes still fit the length into the last block, 56 do not).
INSTANTIATE_TEST_SUITE_P(
    Messages, Sha256Test,
    testing::Values(
        DigestCase{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        DigestCase{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        DigestCase{std::string(1000000, 'a'),
                   "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        DigestCase{std::string(55, 'a'),
                   "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        DigestCase{std::string(56, 'a'),
                   "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        DigestCase{std::string(64, 'a'),
                   "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        DigestCase{std::string(120, 'a'),
                   "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"}));

} // namespace
