#include "noteunid.h"

#include "notesnotes.h"
#include "trace.h"

#include <cstring>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr size_t kGroupLength = 8; // digits of one 32-bit word

// The value of a hexadecimal digit, or -1.
int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

// The number the leading hexadecimal digits of one group spell.
uint32_t ReadGroup(const char* group) {
    uint32_t value = 0;
    for (size_t i = 0; i < kGroupLength; ++i) {
        const int digit = HexDigit(group[i]);
        if (digit < 0)
            break;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return value;
}

} // namespace

void ConvertNoteUNIDFromChar(const char* text, UNID* unid) {
    if (text == nullptr || unid == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ConvertNoteUNIDFromChar", "Invalid UNID string!!");
        return;
    }
    const size_t length = std::strlen(text);
    if (length != kUnidTextLength) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ConvertNoteUNIDFromChar",
                    "Invalid UNID string[length=%d], but UNID type need %d bytes!!",
                    static_cast<int>(length), static_cast<int>(kUnidTextLength));
        return;
    }
    unid->File.Innards[1] = ReadGroup(text);
    unid->File.Innards[0] = ReadGroup(text + kGroupLength);
    unid->Note.Innards[1] = ReadGroup(text + 2 * kGroupLength);
    unid->Note.Innards[0] = ReadGroup(text + 3 * kGroupLength);
}
