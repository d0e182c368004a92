// Mail files and messages: MailOpenMessageFile, MailCloseMessageFile, MailCreateMessage,
// MailCloseMessage, MailAddHeaderItem, MailAddHeaderItemByHandle, MailAddRecipientsItem.
#include "itemedit.h"
#include "notestore.h"
#include "paths.h"
#include "runtime.h"

#include <cstring>

using namespace notesrt;

namespace {

// A header field and the item it sets.
struct HeaderField {
    uint16_t code;    // MAIL_..._ITEM_NUM
    const char* name; // the item's name
    bool time;        // the value is a TIMEDATE, else text
};

constexpr HeaderField kHeaderFields[] = {
    {MAIL_SENDTO_ITEM_NUM, "SendTo", false},
    {MAIL_FROM_ITEM_NUM, "From", false},
    {MAIL_SUBJECT_ITEM_NUM, "Subject", false},
    {MAIL_COMPOSEDDATE_ITEM_NUM, "ComposedDate", true},
    {MAIL_POSTEDDATE_ITEM_NUM, "PostedDate", true},
    {MAIL_FORM_ITEM_NUM, "Form", false},
    {MAIL_DELIVERYPRIORITY_ITEM_NUM, "DeliveryPriority", false},
    {MAIL_DELIVERYREPORT_ITEM_NUM, "DeliveryReport", false},
};

const HeaderField* FindField(uint16_t code) {
    for (const HeaderField& field : kHeaderFields) {
        if (field.code == code)
            return &field;
    }
    return nullptr;
}

uint16_t ReadWord(const char* bytes) {
    uint16_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

Item TimeItem(const char* name, const char* bytes) {
    Item item;
    item.name = name;
    item.kind = ValueKind::Time;
    item.type = TYPE_TIME;
    TIMEDATE time;
    std::memcpy(&time, bytes, sizeof time);
    item.times.push_back(time);
    return item;
}

Item TextItem(const char* name, std::string text) {
    Item item;
    item.name = name;
    item.kind = ValueKind::Text;
    item.type = TYPE_TEXT;
    item.text = std::move(text);
    return item;
}

// Reads a text list (entry count, lengths, texts) of size bytes into a text-list item; false
// when the lengths run past its end.
bool ReadTextList(const char* name, const char* bytes, size_t size, Item& item) {
    if (size < sizeof(uint16_t))
        return false;
    const uint16_t count = ReadWord(bytes);
    size_t offset = sizeof(uint16_t) * (1u + count);
    if (offset > size)
        return false;
    item = Item();
    item.name = name;
    item.kind = ValueKind::TextList;
    item.type = TYPE_TEXT_LIST;
    for (uint16_t i = 0; i < count; ++i) {
        const uint16_t length = ReadWord(bytes + sizeof(uint16_t) * (1u + i));
        if (size - offset < length)
            return false;
        item.texts.emplace_back(bytes + offset, length);
        offset += length;
    }
    return true;
}

// Reads a value that starts with its data type (valueLength bytes of the caller's block
// handle) into an item named name: a text list, or text or a time as the header field wants
// it; without a field only a text list.
STATUS ReadBlockValue(Runtime& runtime, DHANDLE handle, uint32_t valueLength, const char* name,
                      const HeaderField* field, Item& item) {
    const MemoryBlock* block = runtime.memory.Find(handle);
    if (block == nullptr || block->owner != 0)
        return kErrInvalidHandle;
    if (valueLength > block->bytes.size() || valueLength < sizeof(uint16_t))
        return Fail(kErrInvalidArgument, "the value does not fit its block");
    const char* bytes = block->bytes.data();
    const uint16_t type = ReadWord(bytes);
    const char* value = bytes + sizeof(uint16_t);
    const size_t size = valueLength - sizeof(uint16_t);
    const bool wantsTime = field != nullptr && field->time;
    if (type == TYPE_TEXT_LIST && !wantsTime)
        return ReadTextList(name, value, size, item) ? 0 : kErrListInvalid;
    if (type == TYPE_TEXT && field != nullptr && !wantsTime) {
        item = TextItem(name, std::string(value, size));
        return 0;
    }
    if (type == TYPE_TIME && wantsTime && size == sizeof(TIMEDATE)) {
        item = TimeItem(name, value);
        return 0;
    }
    return Fail(kErrInvalidArgument,
                "a value of data type " + std::to_string(type) + " for " + name);
}

// As RunCall for a call that takes the caller's memory block handle over when it succeeds:
// the message then holds the value and the block is freed. A failed call (a planned failure
// included) leaves the block to the caller.
template <typename Body> STATUS RunTakingBlock(const char* name, DHANDLE handle, Body body) {
    return RunCall(name, true, [&](Runtime& runtime) -> STATUS {
        if (STATUS status = body(runtime))
            return status;
        runtime.memory.Remove(handle);
        return 0;
    });
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC MailOpenMessageFile(char* path, DBHANDLE* messageFile) {
    return RunCall("MailOpenMessageFile", true,
                   [&](Runtime& runtime) { return OpenDatabaseFile(runtime, path, messageFile); });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailCloseMessageFile(DHANDLE messageFile) {
    return RunReleaseCall("MailCloseMessageFile", [&](Runtime& runtime) -> STATUS {
        return runtime.databases.Remove(messageFile) ? 0 : kErrInvalidHandle;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailCreateMessage(DHANDLE messageFile, NOTEHANDLE* message) {
    return RunCall("MailCreateMessage", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* file = runtime.databases.Find(messageFile);
        if (file == nullptr)
            return kErrInvalidHandle;
        if (message == nullptr)
            return kErrInvalidArgument;
        OpenNote created;
        created.dbHandle = messageFile;
        created.oid = NewOriginatorId(*file->db);
        created.ownItems = EmptyNoteModel();
        created.items = created.ownItems;
        const NOTEHANDLE handle = runtime.notes.Add(std::move(created));
        if (handle == 0)
            return kErrTooManyHandles;
        *message = handle;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailCloseMessage(NOTEHANDLE message) {
    return RunReleaseCall("MailCloseMessage", [&](Runtime& runtime) -> STATUS {
        if (!runtime.notes.Remove(message))
            return kErrInvalidHandle;
        FreeOwnedBlocks(runtime, message);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailAddHeaderItem(DHANDLE message, WORD itemCode,
                                                         const void* value, WORD valueLength) {
    const char* bytes = static_cast<const char*>(value);
    return RunCall("MailAddHeaderItem", true, [&](Runtime& runtime) -> STATUS {
        OpenNote* open = runtime.notes.Find(message);
        if (open == nullptr)
            return kErrInvalidHandle;
        const HeaderField* field = FindField(itemCode);
        if (field == nullptr)
            return Fail(kErrInvalidArgument, "header field " + std::to_string(itemCode));
        if (value == nullptr && valueLength != 0)
            return kErrInvalidArgument;
        if (field->time) {
            if (valueLength != sizeof(TIMEDATE))
                return Fail(kErrInvalidArgument, std::string(field->name) + " is not a time");
            SetNoteItem(runtime, *open, TimeItem(field->name, bytes));
        } else {
            SetNoteItem(
                runtime, *open,
                TextItem(field->name, std::string(bytes == nullptr ? "" : bytes, valueLength)));
        }
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailAddHeaderItemByHandle(NOTEHANDLE message,
                                                                 uint16_t itemCode, DHANDLE value,
                                                                 uint16_t valueLength, uint16_t) {
    return RunTakingBlock("MailAddHeaderItemByHandle", value, [&](Runtime& runtime) -> STATUS {
        OpenNote* open = runtime.notes.Find(message);
        if (open == nullptr)
            return kErrInvalidHandle;
        const HeaderField* field = FindField(itemCode);
        if (field == nullptr)
            return Fail(kErrInvalidArgument, "header field " + std::to_string(itemCode));
        Item item;
        if (STATUS status = ReadBlockValue(runtime, value, valueLength, field->name, field, item))
            return status;
        SetNoteItem(runtime, *open, item);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailAddRecipientsItem(NOTEHANDLE message, DHANDLE list,
                                                             uint16_t listSize) {
    return RunTakingBlock("MailAddRecipientsItem", list, [&](Runtime& runtime) -> STATUS {
        OpenNote* open = runtime.notes.Find(message);
        if (open == nullptr)
            return kErrInvalidHandle;
        Item item;
        if (STATUS status = ReadBlockValue(runtime, list, listSize, "Recipients", nullptr, item))
            return status;
        SetNoteItem(runtime, *open, item);
        return 0;
    });
}
