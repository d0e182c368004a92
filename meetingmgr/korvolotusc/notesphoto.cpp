// Contact photos (part of the contact searcher).
#include "notescontact.h"

#include "notesattachment.h"
#include "trace.h"

#include "platform/fs.h"

#include <memory>
#include <new>

static constexpr char kTraceSource[] = "notescontact.cpp";

namespace {

// Reads size bytes of the file at path into a new block; null when the file cannot be opened
// or holds fewer bytes.
std::unique_ptr<uint8_t[]> ReadWholeFile(const char* path, uint32_t size) {
    platform::UniqueFile file(platform::OpenFileA(path, platform::FileAccess::Read));
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (!file || !bytes)
        return nullptr;
    uint32_t used = 0;
    while (used < size) {
        uint32_t done = 0;
        if (!platform::ReadFile(file.Get(), bytes.get() + used, size - used, &done) || done == 0)
            return nullptr;
        used += done;
    }
    return bytes;
}

} // namespace

int32_t CNotesContacts::GetContactPictureData(NOTEHANDLE note, ByteBuffer& photo) {
    char directory[platform::kMaxPath] = {};
    char path[platform::kMaxPath] = {};
    const uint32_t length = platform::GetTempPathA(sizeof directory, directory);
    if (length == 0 || length >= sizeof directory ||
        platform::GetTempFileNameA(directory, "", path) == 0) {
        KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesContacts::GetContactPictureData",
                    "fail to create temp file");
        return 0;
    }
    const uint32_t size = GetAttachmentFile(note, path);
    std::unique_ptr<uint8_t[]> bytes = size == 0 ? nullptr : ReadWholeFile(path, size);
    platform::DeleteFileA(path);
    if (!bytes)
        return 0;
    photo.Adopt(size, bytes.release());
    return 1;
}
