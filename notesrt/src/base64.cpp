// Base64 decoding and encoding.
#include "base64.h"

#include <cstdint>
#include <utility>

namespace notesrt {
namespace {

int SextetOf(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

bool DecodeBase64(const std::string& text, std::string& bytes) {
    std::string out;
    uint32_t bits = 0;
    int held = 0;
    size_t padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int sextet = SextetOf(c);
        if (sextet < 0 || padding != 0)
            return false;
        bits = (bits << 6) | static_cast<uint32_t>(sextet);
        held += 6;
        if (held >= 8) {
            held -= 8;
            out += static_cast<char>((bits >> held) & 0xFF);
        }
    }
    if (held >= 6 || padding > 2)
        return false;
    bytes = std::move(out);
    return true;
}

std::string EncodeBase64(const std::string& bytes) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 2]);
        text += kDigits[(group >> 18) & 0x3F];
        text += kDigits[(group >> 12) & 0x3F];
        text += i + 1 < bytes.size() ? kDigits[(group >> 6) & 0x3F] : '=';
        text += i + 2 < bytes.size() ? kDigits[group & 0x3F] : '=';
    }
    return text;
}

} // namespace notesrt
