// MIME directories: MIMEOpenDirectory, MIMEFreeDirectory, MIMEGetRootEntity,
// MIMEIterateNext, MIMEEntityGetType, MIMEEntityContentType, MIMEGetEntityPartFlags,
// MIMEEntityGetTypeParam, MIMEGetDecodedEntityData, MIMEGetEntityData.
//
// Every memory block these calls hand out belongs to the directory and goes with it.
#include "asciicase.h"
#include "runtime.h"

namespace notesrt {
namespace {

void Flatten(const MimeEntity& entity, HMIMEDIRECTORY directory,
             std::vector<std::unique_ptr<MIMEENTITY>>& entities) {
    auto flat = std::make_unique<MIMEENTITY>();
    flat->directory = directory;
    flat->index = entities.size();
    flat->content.contentType = entity.contentType;
    flat->content.charset = entity.charset;
    flat->content.data = entity.data;
    flat->content.attachment = entity.attachment;
    flat->content.multipart = entity.multipart;
    MIMEENTITY& added = *flat;
    entities.push_back(std::move(flat));
    for (const MimeEntity& part : entity.parts)
        Flatten(part, directory, entities);
    added.end = entities.size();
}

} // namespace

std::vector<std::unique_ptr<MIMEENTITY>> FlattenMime(const MimeEntity& root,
                                                     HMIMEDIRECTORY directory) {
    std::vector<std::unique_ptr<MIMEENTITY>> entities;
    Flatten(root, directory, entities);
    return entities;
}

} // namespace notesrt

using namespace notesrt;

namespace {

// Numbers of the content types; the others are kOtherContent.
struct ContentSymbol {
    const char* type;  // type/subtype in lower case
    MIMESYMBOL symbol; // its number
};

constexpr ContentSymbol kContentSymbols[] = {
    {"text/plain", MIME_CONTENT_TEXT_PLAIN},
    {"text/enriched", 17},
    {"text/calendar", 19},
    {"text/html", MIME_CONTENT_TEXT_HTML},
    {"multipart/mixed", 30},
    {"multipart/alternative", 31},
    {"multipart/related", 32},
    {"image/gif", 50},
    {"image/jpeg", 51},
    {"image/png", 52},
    {"application/octet-stream", 60},
};
constexpr MIMESYMBOL kOtherContent = 1;

// The live entity behind a pointer; null when no open directory holds it. The pointer is
// compared, never followed, before it is found.
MIMEENTITY* FindEntity(Runtime& runtime, PMIMEENTITY entity) {
    if (entity == nullptr)
        return nullptr;
    for (const auto& entry : runtime.mimeDirectories) {
        for (const auto& held : entry.second.entities) {
            if (held.get() == entity)
                return held.get();
        }
    }
    return nullptr;
}

// The entity, when it belongs to a directory opened on note and note is still open.
MIMEENTITY* FindEntityOfNote(Runtime& runtime, NOTEHANDLE note, PMIMEENTITY entity) {
    MIMEENTITY* found = FindEntity(runtime, entity);
    if (found == nullptr || runtime.notes.Find(note) == nullptr)
        return nullptr;
    const MimeDirectory* directory = runtime.mimeDirectories.Find(found->directory);
    return directory != nullptr && directory->note == note ? found : nullptr;
}

// A memory block of bytes and a NUL, owned by the entity's directory.
STATUS DirectoryBlock(Runtime& runtime, const MIMEENTITY& entity, const std::string& bytes,
                      DHANDLE* handle) {
    MemoryBlock block;
    block.bytes.assign(bytes.begin(), bytes.end());
    block.bytes.push_back('\0');
    block.owner = entity.directory;
    const DHANDLE added = runtime.memory.Add(std::move(block));
    if (added == 0)
        return kErrTooManyHandles;
    *handle = added;
    return 0;
}

// Hands out length bytes (0xFFFFFFFF: all) of the entity's content from offset.
STATUS EntityData(Runtime& runtime, NOTEHANDLE note, PMIMEENTITY entity, uint32_t offset,
                  uint32_t length, DHANDLE* data, uint32_t* dataLength, uint32_t* encodedLength) {
    const MIMEENTITY* found = FindEntityOfNote(runtime, note, entity);
    if (found == nullptr || data == nullptr || dataLength == nullptr)
        return kErrInvalidArgument;
    const std::string& content = found->content.data;
    const std::string piece = offset < content.size() ? content.substr(offset, length) : "";
    if (STATUS status = DirectoryBlock(runtime, *found, piece, data))
        return status;
    *dataLength = static_cast<uint32_t>(piece.size());
    if (encodedLength != nullptr)
        *encodedLength = static_cast<uint32_t>(content.size());
    return 0;
}

} // namespace

extern "C" NOTESRT_API STATUS MIMEOpenDirectory(NOTEHANDLE note, HMIMEDIRECTORY* directory) {
    return RunCall("MIMEOpenDirectory", true, [&](Runtime& runtime) -> STATUS {
        const OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (directory == nullptr)
            return kErrInvalidArgument;
        const MimeEntity* body = nullptr;
        for (size_t position = 0; body == nullptr && position < open->Record().itemCount;
             ++position)
            body = open->ItemAt(position).mime;
        if (body == nullptr)
            return kErrNoMimeBody;
        MimeDirectory opened;
        opened.note = note;
        const HMIMEDIRECTORY handle = runtime.mimeDirectories.Add(std::move(opened));
        if (handle == 0)
            return kErrTooManyHandles;
        runtime.mimeDirectories.Find(handle)->entities = FlattenMime(*body, handle);
        *directory = handle;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS MIMEFreeDirectory(HMIMEDIRECTORY directory) {
    return RunReleaseCall("MIMEFreeDirectory", [&](Runtime& runtime) -> STATUS {
        if (!runtime.mimeDirectories.Remove(directory))
            return kErrInvalidHandle;
        FreeOwnedBlocks(runtime, directory);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS MIMEGetRootEntity(HMIMEDIRECTORY directory, PMIMEENTITY* root) {
    return RunCall("MIMEGetRootEntity", true, [&](Runtime& runtime) -> STATUS {
        const MimeDirectory* open = runtime.mimeDirectories.Find(directory);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (root == nullptr)
            return kErrInvalidArgument;
        *root = open->entities.front().get();
        return 0;
    });
}

extern "C" NOTESRT_API STATUS MIMEIterateNext(HMIMEDIRECTORY directory, PMIMEENTITY root,
                                              PMIMEENTITY previous, PMIMEENTITY* next) {
    return RunCall("MIMEIterateNext", true, [&](Runtime& runtime) -> STATUS {
        const MimeDirectory* open = runtime.mimeDirectories.Find(directory);
        if (open == nullptr)
            return kErrInvalidHandle;
        const MIMEENTITY* top = FindEntity(runtime, root);
        const MIMEENTITY* last = previous == nullptr ? nullptr : FindEntity(runtime, previous);
        if (next == nullptr || top == nullptr || top->directory != directory ||
            (previous != nullptr &&
             (last == nullptr || last->index < top->index || last->index >= top->end)))
            return kErrInvalidArgument;
        const size_t following = last == nullptr ? top->index : last->index + 1;
        *next = following < top->end ? open->entities[following].get() : nullptr;
        return 0;
    });
}

extern "C" NOTESRT_API int MIMEEntityGetType(PMIMEENTITY entity) {
    return RunPlainCall(MIME_ENTITY_NONE, [&](Runtime& runtime) {
        const MIMEENTITY* found = FindEntity(runtime, entity);
        if (found == nullptr)
            return MIME_ENTITY_NONE;
        return found->content.multipart ? MIME_ENTITY_MULTIPART : MIME_ENTITY_PART;
    });
}

extern "C" NOTESRT_API MIMESYMBOL MIMEEntityContentType(PMIMEENTITY entity) {
    return RunPlainCall<MIMESYMBOL>(0, [&](Runtime& runtime) {
        const MIMEENTITY* found = FindEntity(runtime, entity);
        if (found == nullptr)
            return 0;
        const std::string& type = found->content.contentType;
        const std::string bare = LowerAscii(type.substr(0, type.find(';')));
        for (const ContentSymbol& known : kContentSymbols) {
            if (bare == known.type)
                return known.symbol;
        }
        return kOtherContent;
    });
}

extern "C" NOTESRT_API STATUS MIMEGetEntityPartFlags(NOTEHANDLE note, PMIMEENTITY entity,
                                                     uint32_t* flags) {
    return RunCall("MIMEGetEntityPartFlags", true, [&](Runtime& runtime) -> STATUS {
        const MIMEENTITY* found = FindEntityOfNote(runtime, note, entity);
        if (found == nullptr || flags == nullptr)
            return kErrInvalidArgument;
        *flags = found->content.attachment ? MIME_PART_BODY_IN_DBOBJECT : 0;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS MIMEEntityGetTypeParam(PMIMEENTITY entity, MIMESYMBOL parameter,
                                                     DHANDLE* value, uint32_t* valueLength) {
    return RunCall("MIMEEntityGetTypeParam", true, [&](Runtime& runtime) -> STATUS {
        const MIMEENTITY* found = FindEntity(runtime, entity);
        if (found == nullptr || value == nullptr || valueLength == nullptr)
            return kErrInvalidArgument;
        if (parameter != MIME_PARAM_CHARSET || found->content.charset.empty())
            return ERR_NOT_FOUND;
        if (STATUS status = DirectoryBlock(runtime, *found, found->content.charset, value))
            return status;
        *valueLength = static_cast<uint32_t>(found->content.charset.size());
        return 0;
    });
}

extern "C" NOTESRT_API STATUS MIMEGetDecodedEntityData(NOTEHANDLE note, PMIMEENTITY entity,
                                                       uint32_t offset, uint32_t length,
                                                       DHANDLE* data, uint32_t* dataLength,
                                                       uint32_t* encodedLength) {
    return RunCall("MIMEGetDecodedEntityData", true, [&](Runtime& runtime) -> STATUS {
        return EntityData(runtime, note, entity, offset, length, data, dataLength, encodedLength);
    });
}

extern "C" NOTESRT_API STATUS MIMEGetEntityData(NOTEHANDLE note, PMIMEENTITY entity, uint32_t part,
                                                uint32_t offset, uint32_t length, DHANDLE* data,
                                                uint32_t* dataLength) {
    return RunCall("MIMEGetEntityData", true, [&](Runtime& runtime) -> STATUS {
        if (part != MIME_DATA_BODY)
            return kErrInvalidArgument;
        return EntityData(runtime, note, entity, offset, length, data, dataLength, nullptr);
    });
}
