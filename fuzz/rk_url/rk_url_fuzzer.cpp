// URL coding of the toolkit (rka_urlenc, rka_urldec) on any bytes. Checked: the encoding of
// the bytes fits the 3 * len + 1 bytes a caller provides, holds only letters, digits, "-_.+"
// and "%" with two lower-case hexadecimal digits, and decodes back to the same bytes with one
// unit counted per byte; decoding the input itself as text stays within the room of its
// source and counts no more units than the text has characters.
#include "rk/url.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool IsLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool IsPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '+';
}

// Aborts unless text is made only of plain characters and "%xx" escapes.
void CheckEncodedForm(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (IsPlain(*p))
            continue;
        if (*p != '%' || !IsLowerHex(p[1]) || !IsLowerHex(p[2]))
            std::abort();
        p += 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int len = static_cast<int>(size);
    const char* bytes = reinterpret_cast<const char*>(data);

    // Exactly the room the encoder asks for, on the heap, so that a byte too many is seen.
    std::vector<char> encoded(3 * size + 1);
    rka_urlenc(bytes, encoded.data(), len);
    CheckEncodedForm(encoded.data());
    const size_t encodedLength = std::strlen(encoded.data());
    std::vector<char> decoded(encodedLength + 1);
    if (rka_urldec(encoded.data(), decoded.data()) != len ||
        std::memcmp(decoded.data(), bytes, size) != 0 || decoded[size] != '\0')
        std::abort();

    std::vector<char> source(bytes, bytes + size);
    source.push_back('\0');
    const size_t sourceLength = std::strlen(source.data());
    std::vector<char> room(sourceLength + 1);
    const int handled = rka_urldec(source.data(), room.data());
    if (handled < 0 || static_cast<size_t>(handled) > sourceLength)
        std::abort();
    return 0;
}
