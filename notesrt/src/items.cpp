// Item blocks: NSFItemInfo, NSFItemInfoNext, NSFNoteExtractFile.
//
// Each item located with an output gets one memory block of its value (ValueBytes), owned by
// the note and freed with it. The item block and the value block both name that block at
// offset 0.
#include "items.h"

#include "itemvalue.h"
#include "lmbcs.h"
#include "paths.h"

#include <fstream>

namespace notesrt {

bool FindItem(const OpenNote& note, std::string_view name, size_t from, size_t& position) {
    return note.items->FindItem(note.Record(), name, from, position);
}

} // namespace notesrt

using namespace notesrt;

namespace {

// The value block of the item at position, made on first use.
STATUS ValueBlock(Runtime& runtime, NOTEHANDLE handle, OpenNote& open, size_t position,
                  DHANDLE& pool) {
    const auto found = open.valueBlocks.find(position);
    if (found != open.valueBlocks.end()) {
        pool = found->second;
        return 0;
    }
    const std::string bytes = ValueBytes(open.ItemAt(position));
    MemoryBlock block;
    block.bytes.assign(bytes.begin(), bytes.end());
    block.owner = handle;
    pool = runtime.memory.Add(std::move(block));
    if (pool == 0)
        return kErrTooManyHandles;
    open.valueBlocks.emplace(position, pool);
    return 0;
}

// Locates the item named name at or after from and writes the outputs NSFItemInfo names.
STATUS Locate(Runtime& runtime, NOTEHANDLE handle, OpenNote& open, const char* name,
              uint16_t nameLength, size_t from, BLOCKID* item, uint16_t* dataType, BLOCKID* value,
              uint32_t* valueLength) {
    if (name == nullptr && nameLength != 0)
        return kErrInvalidArgument;
    size_t position;
    if (!FindItem(open, std::string_view(name == nullptr ? "" : name, nameLength), from, position))
        return ERR_ITEM_NOT_FOUND;
    if (item != nullptr || value != nullptr || valueLength != nullptr) {
        DHANDLE pool;
        if (STATUS status = ValueBlock(runtime, handle, open, position, pool))
            return status;
        const BLOCKID block = {pool, 0};
        if (item != nullptr)
            *item = block;
        if (value != nullptr)
            *value = block;
        if (valueLength != nullptr)
            *valueLength = static_cast<uint32_t>(runtime.memory.Find(pool)->bytes.size());
    }
    if (dataType != nullptr)
        *dataType = open.ItemAt(position).type;
    return 0;
}

// The position of the item whose item block is item; false when the note handed out none
// such.
bool ItemOfBlock(const OpenNote& open, BLOCKID item, size_t& position) {
    if (item.block != 0)
        return false;
    for (const auto& entry : open.valueBlocks) {
        if (entry.second == item.pool) {
            position = entry.first;
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC NSFItemInfo(NOTEHANDLE note, const char* name,
                                                   uint16_t nameLength, BLOCKID* item,
                                                   uint16_t* dataType, BLOCKID* value,
                                                   uint32_t* valueLength) {
    return RunCall("NSFItemInfo", true, [&](Runtime& runtime) -> STATUS {
        OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr)
            return kErrInvalidHandle;
        return Locate(runtime, note, *open, name, nameLength, 0, item, dataType, value,
                      valueLength);
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFItemInfoNext(NOTEHANDLE note, BLOCKID previous,
                                                       const char* name, uint16_t nameLength,
                                                       BLOCKID* item, uint16_t* dataType,
                                                       BLOCKID* value, uint32_t* valueLength) {
    return RunCall("NSFItemInfoNext", true, [&](Runtime& runtime) -> STATUS {
        OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr)
            return kErrInvalidHandle;
        size_t position;
        if (!ItemOfBlock(*open, previous, position))
            return kErrInvalidArgument;
        return Locate(runtime, note, *open, name, nameLength, position + 1, item, dataType, value,
                      valueLength);
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFNoteExtractFile(NOTEHANDLE note, BLOCKID item,
                                                          const char* path, ENCRYPTION_KEY*) {
    return RunCall("NSFNoteExtractFile", true, [&](Runtime& runtime) -> STATUS {
        const OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr)
            return kErrInvalidHandle;
        size_t position;
        if (path == nullptr || !ItemOfBlock(*open, item, position) ||
            open->ItemAt(position).kind != ValueKind::File)
            return kErrInvalidArgument;
        const std::string name = LmbcsToUtf8(path);
        const std::string& data = open->ItemAt(position).file->data;
        std::ofstream stream(PathFromUtf8(name), std::ios::binary | std::ios::trunc);
        stream.write(data.data(), static_cast<std::streamsize>(data.size()));
        stream.close();
        if (!stream)
            return Fail(kErrCannotWriteFile, name);
        return 0;
    });
}
