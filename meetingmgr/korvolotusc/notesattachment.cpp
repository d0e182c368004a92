#include "notesattachment.h"

#include "notesclib.h"
#include "stringutil.h"
#include "trace.h"

#include <cstring>
#include <memory>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr char kAttachmentItem[] = "$FILE";         // the item of an attached file
constexpr char kPhotoFileName[] = "ContactPhoto";   // the name of a contact's picture
constexpr size_t kObjectTypeOffset = 0;             // 16-bit object type
constexpr size_t kFileNameLengthOffset = 6;         // 16-bit length of the file name
constexpr size_t kHostTypeOffset = 8;               // 16-bit host type
constexpr size_t kFileSizeOffset = 16;              // 32-bit file size
constexpr size_t kFileNameOffset = FILEOBJECT_SIZE; // the file name, not NUL-terminated

template <typename T> T ReadAt(const char* object, size_t offset) {
    T value;
    std::memcpy(&value, object + offset, sizeof value);
    return value;
}

// True when the object descriptor is a file attached from a DOS system.
bool ValidateAttachmentFile(const char* object) {
    const auto objectType = ReadAt<uint16_t>(object, kObjectTypeOffset);
    if (objectType != OBJECT_FILE) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "ValidateAttachmentFile",
                    "Attachment object[%d] is not an file!!", static_cast<int>(objectType));
        return false;
    }
    const auto hostType = ReadAt<uint16_t>(object, kHostTypeOffset);
    if (hostType != HOST_MSDOS) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "ValidateAttachmentFile",
                    "Attachment object is not file[%d] of DOS format!!",
                    static_cast<int>(hostType));
        return false;
    }
    return true;
}

// True when the descriptor's file name is exactly the photo's name.
bool IsPhotoFileName(const char* object) {
    const auto length = ReadAt<uint16_t>(object, kFileNameLengthOffset);
    const std::unique_ptr<char[]> name(new char[size_t{length} + 1]);
    std::memcpy(name.get(), object + kFileNameOffset, length);
    name[length] = '\0';
    return StringUtil::IsSameString(name.get(), kPhotoFileName);
}

// Checks the attachment whose value (data type first) is value and extracts it to path;
// returns its size or 0.
uint32_t ExtractPhoto(NOTEHANDLE note, BLOCKID item, const char* value, uint32_t valueLength,
                      const char* path) {
    const char* object = value + sizeof(uint16_t);
    if (valueLength < sizeof(uint16_t) + kFileNameOffset ||
        valueLength <
            sizeof(uint16_t) + kFileNameOffset + ReadAt<uint16_t>(object, kFileNameLengthOffset)) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAttachmentFile", "Cannot get attachment object!!");
        return 0;
    }
    const auto size = ReadAt<uint32_t>(object, kFileSizeOffset);
    if (!ValidateAttachmentFile(object) || !IsPhotoFileName(object)) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAttachmentFile",
                    "Attachment[%d] is invalid file object!!", static_cast<int>(size));
        return 0;
    }
    if (size == 0) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAttachmentFile",
                    "Attachment file object size[%d] is invalid!!", 0);
        return 0;
    }
    if (NSFNoteExtractFile(note, item, path, nullptr) != NOERROR) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetAttachmentFile", "failed to extract contact photo");
        return 0;
    }
    return size;
}

} // namespace

uint32_t GetAttachmentFile(NOTEHANDLE note, const char* path) {
    BLOCKID item = {};
    BLOCKID value = {};
    uint16_t dataType = 0;
    uint32_t valueLength = 0;
    const STATUS status =
        NSFItemInfo(note, kAttachmentItem, static_cast<uint16_t>(std::strlen(kAttachmentItem)),
                    &item, &dataType, &value, &valueLength);
    if (status != NOERROR) {
        if (ERR(status) != ERR_ITEM_NOT_FOUND)
            NotesAPIErrHandler("GetAttachmentFile---NSFItemInfo", status);
        return 0;
    }
    if (dataType != TYPE_OBJECT) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAttachmentFile",
                    "Attachment[%d] is not an object!!", static_cast<int>(dataType));
        return 0;
    }
    const char* bytes = OSLockBlock(const char, value);
    uint32_t size = 0;
    if (bytes == nullptr)
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAttachmentFile", "Cannot get attachment object!!");
    else
        size = ExtractPhoto(note, item, bytes, valueLength, path);
    OSUnlockBlock(value);
    return size;
}
