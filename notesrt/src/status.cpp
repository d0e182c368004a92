// The runtime's error texts.
#include "notesapi.h"

#include <cstring>

namespace {

struct StatusText {
    STATUS code;      // status AND 0x3fff
    const char* text; // what the runtime says about it
};

constexpr StatusText kStatusTexts[] = {
    {0x0222, "Note item not found"},
    {0x0404, "Entry not found in index"},
    {6022, "Your ID file is locked by another process. Close it and try again."},
};

} // namespace

extern "C" NOTESRT_API uint16_t OSLoadString(void*, STATUS status, char* buffer,
                                             uint16_t bufferLength) {
    if (buffer == nullptr || bufferLength == 0)
        return 0;
    buffer[0] = '\0';
    const STATUS code = status & 0x3fff;
    for (const StatusText& entry : kStatusTexts) {
        if (entry.code != code)
            continue;
        size_t length = std::strlen(entry.text);
        if (length > bufferLength - 1u)
            length = bufferLength - 1u;
        std::memcpy(buffer, entry.text, length);
        buffer[length] = '\0';
        return static_cast<uint16_t>(length);
    }
    return 0;
}
