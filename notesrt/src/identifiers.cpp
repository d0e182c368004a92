// Text forms of UNIDs and of 8-byte identifiers.
#include "identifiers.h"

#include <cstdio>

namespace notesrt {
namespace {

// Reads 8 hexadecimal digits of text from offset.
bool ReadWord(const std::string& text, size_t offset, uint32_t& word) {
    word = 0;
    for (size_t i = offset; i < offset + 8; ++i) {
        const char c = text[i];
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else
            return false;
        word = (word << 4) | digit;
    }
    return true;
}

} // namespace

bool IdFromHex(const std::string& text, TIMEDATE& id) {
    TIMEDATE read;
    if (text.size() != 16 || !ReadWord(text, 0, read.Innards[0]) ||
        !ReadWord(text, 8, read.Innards[1]))
        return false;
    id = read;
    return true;
}

bool UnidFromHex(const std::string& text, UNID& unid) {
    UNID read;
    if (text.size() != 32 || !ReadWord(text, 0, read.File.Innards[1]) ||
        !ReadWord(text, 8, read.File.Innards[0]) || !ReadWord(text, 16, read.Note.Innards[1]) ||
        !ReadWord(text, 24, read.Note.Innards[0]))
        return false;
    unid = read;
    return true;
}

std::string UnidToHex(const UNID& unid) {
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", unid.File.Innards[1], unid.File.Innards[0],
                  unid.Note.Innards[1], unid.Note.Innards[0]);
    return text;
}

} // namespace notesrt
