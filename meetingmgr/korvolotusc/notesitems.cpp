#include "notesitems.h"

#include "notesclib.h"
#include "trace.h"

#include <algorithm>
#include <cstring>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr char kBodyItem[] = "Body";                   // the rich-text body's item name
constexpr char kLineDelimiter[] = "\r\n";              // ends every paragraph and broken line
constexpr uint16_t kCharactersPerLine = 100;           // where long paragraphs are broken
constexpr size_t kBodyTextLimit = kBodyBufferSize - 1; // text bytes a body buffer holds

// Removes the NUL bytes among the first length bytes of text, terminates what is left and
// returns its length.
size_t DropNulBytes(char* text, size_t length) {
    char* const end = std::remove(text, text + length, '\0');
    *end = '\0';
    return static_cast<size_t>(end - text);
}

// Appends the text of one rich-text item to buffer behind used bytes, translated to UTF-8.
// False when the runtime could not convert it (reported).
bool AppendItemText(BLOCKID value, uint32_t valueLength, char* buffer, size_t& used) {
    DHANDLE text = NULLHANDLE;
    uint32_t textLength = 0;
    const STATUS status = ConvertItemToText(value, valueLength, kLineDelimiter, kCharactersPerLine,
                                            &text, &textLength, 1);
    if (status != NOERROR || text == NULLHANDLE) {
        NotesAPIErrHandler("GetTextByBlockID---ConvertItemToText", status);
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetTextByBlockID",
                    "Fail to get rich text by block id !!");
        OSMemFree(text);
        return false;
    }
    // One rich-text item holds far less than 64 KB of text; the runtime takes 16-bit lengths.
    const uint16_t inLength = static_cast<uint16_t>(std::min<uint32_t>(textLength, 0xFFFF));
    const uint16_t room = static_cast<uint16_t>(kBodyTextLimit - used);
    const char* source = static_cast<const char*>(OSLockObject(text));
    if (source != nullptr && inLength > 0)
        used += OSTranslate(OS_TRANSLATE_LMBCS_TO_UTF8, source, inLength, buffer + used, room);
    buffer[used] = '\0';
    OSUnlockObject(text);
    OSMemFree(text);
    return true;
}

} // namespace

bool GetTextByNoteItem(NOTEHANDLE note, const char* itemName, char* buffer, uint16_t bufferSize) {
    if (buffer == nullptr || itemName == nullptr || bufferSize == 0) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetTextByNoteItem", "Invalid parameters!!");
        return false;
    }
    std::memset(buffer, 0, bufferSize);
    const uint16_t nameLength = static_cast<uint16_t>(std::strlen(itemName));
    if (NSFItemInfo(note, itemName, nameLength, nullptr, nullptr, nullptr, nullptr) != NOERROR) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetTextByNoteItem", "Find no Note Item[%s] !!",
                    itemName);
        return false;
    }
    size_t length = NSFItemGetText(note, itemName, buffer, bufferSize);
    if (length >= bufferSize) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetTextByNoteItem",
                    "Text buffer is not enough for note item[%s], STACK Buffer Overflow!!",
                    itemName);
        length = bufferSize - 1u;
    }
    DropNulBytes(buffer, length);
    return true;
}

int GetCompositeTextByNoteItem(NOTEHANDLE note, char* buffer) {
    if (buffer == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetCompositeTextByNoteItem", "Invalid parameters!!");
        return 0;
    }
    buffer[0] = '\0';
    const uint16_t nameLength = static_cast<uint16_t>(std::strlen(kBodyItem));
    if (NSFItemInfo(note, kBodyItem, nameLength, nullptr, nullptr, nullptr, nullptr) != NOERROR) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetCompositeTextByNoteItem",
                    "Fail to get text for note item[%s]!!", kBodyItem);
        return 0;
    }

    size_t used = 0;
    BLOCKID item = {};
    BLOCKID value = {};
    uint16_t type = 0;
    uint32_t valueLength = 0;
    STATUS status = NSFItemInfo(note, kBodyItem, nameLength, &item, &type, &value, &valueLength);
    while (status == NOERROR) {
        if (!AppendItemText(value, valueLength, buffer, used))
            return 0;
        if (used >= kBodyTextLimit) {
            KORVO_TRACE(PM_SDK::kLevelFailure, "GetCompositeTextByNoteItem",
                        "Text buffer is not enough !!");
            return 1;
        }
        const BLOCKID previous = item;
        status = NSFItemInfoNext(note, previous, kBodyItem, nameLength, &item, &type, &value,
                                 &valueLength);
    }
    if (ERR(status) == ERR_ITEM_NOT_FOUND)
        return 1;
    NotesAPIErrHandler("NSFItemInfo---NSFItemInfoNext", status);
    return 0;
}
