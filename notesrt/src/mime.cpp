// MIME directories: MIMEOpenDirectory, MIMEFreeDirectory, MIMEGetRootEntity,
// MIMEIterateNext, MIMEEntityIsDiscretePart, MIMEEntityIsMultiPart, MIMEEntityContentType,
// MIMEEntityContentSubtype, MIMEGetEntityPartFlags, MIMEEntityGetTypeParam,
// MIMEGetDecodedEntityData, MIMEGetEntityData.
//
// Every memory block these calls hand out is the caller's, to free with OSMemFree.
#include "asciicase.h"
#include "memory.h"
#include "runtime.h"

namespace notesrt {
namespace {

void Flatten(const MimeEntity& entity, HMIMEDIRECTORY directory,
             std::vector<std::unique_ptr<MimeEntityNode>>& entities) {
    auto flat = std::make_unique<MimeEntityNode>();
    flat->directory = directory;
    flat->index = entities.size();
    flat->content.contentType = entity.contentType;
    flat->content.charset = entity.charset;
    flat->content.data = entity.data;
    flat->content.attachment = entity.attachment;
    flat->content.multipart = entity.multipart;
    MimeEntityNode& added = *flat;
    entities.push_back(std::move(flat));
    for (const MimeEntity& part : entity.parts)
        Flatten(part, directory, entities);
    added.end = entities.size();
}

} // namespace

std::vector<std::unique_ptr<MimeEntityNode>> FlattenMime(const MimeEntity& root,
                                                         HMIMEDIRECTORY directory) {
    std::vector<std::unique_ptr<MimeEntityNode>> entities;
    Flatten(root, directory, entities);
    return entities;
}

} // namespace notesrt

using namespace notesrt;

namespace {

// A name of a content type or subtype and its symbol; names without one are
// MIME_SYMBOL_UNKNOWN.
struct ContentSymbol {
    const char* name;  // in lower case
    MIMESYMBOL symbol; // its symbol
};

constexpr ContentSymbol kTypeSymbols[] = {
    {"text", MIME_SYMBOL_TEXT},       {"multipart", MIME_SYMBOL_MULTIPART},
    {"message", MIME_SYMBOL_MESSAGE}, {"application", MIME_SYMBOL_APPLICATION},
    {"image", MIME_SYMBOL_IMAGE},     {"audio", MIME_SYMBOL_AUDIO},
    {"video", MIME_SYMBOL_VIDEO},
};

constexpr ContentSymbol kSubtypeSymbols[] = {
    {"plain", MIME_SYMBOL_PLAIN},       {"octet-stream", MIME_SYMBOL_OCTET_STREAM},
    {"html", MIME_SYMBOL_HTML},         {"alternative", MIME_SYMBOL_ALTERNATIVE},
    {"mixed", MIME_SYMBOL_MIXED},       {"rfc822", MIME_SYMBOL_RFC822},
    {"related", MIME_SYMBOL_RELATED},   {"gif", MIME_SYMBOL_GIF},
    {"jpeg", MIME_SYMBOL_JPEG},         {"enriched", MIME_SYMBOL_ENRICHED},
    {"calendar", MIME_SYMBOL_CALENDAR}, {"png", MIME_SYMBOL_PNG},
};

// The content type's type (part 0) or subtype (part 1) in lower case, without parameters.
std::string ContentName(const MimeEntityNode& entity, int part) {
    const std::string& type = entity.content.contentType;
    const std::string bare = LowerAscii(type.substr(0, type.find(';')));
    const size_t slash = bare.find('/');
    if (part == 0)
        return bare.substr(0, slash);
    return slash == std::string::npos ? std::string() : bare.substr(slash + 1);
}

template <size_t N>
MIMESYMBOL SymbolOf(const std::string& name, const ContentSymbol (&symbols)[N]) {
    for (const ContentSymbol& known : symbols) {
        if (name == known.name)
            return known.symbol;
    }
    return MIME_SYMBOL_UNKNOWN;
}

// Whether the entity is a message/rfc822 entity.
bool IsMessagePart(const MimeEntityNode& entity) {
    return ContentName(entity, 0) == "message" && ContentName(entity, 1) == "rfc822";
}

// The live entity behind a pointer; null when no open directory holds it. The pointer is
// compared, never followed, before it is found.
MimeEntityNode* FindEntity(Runtime& runtime, PMIMEENTITY entity) {
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
MimeEntityNode* FindEntityOfNote(Runtime& runtime, NOTEHANDLE note, PMIMEENTITY entity) {
    MimeEntityNode* found = FindEntity(runtime, entity);
    if (found == nullptr || runtime.notes.Find(note) == nullptr)
        return nullptr;
    const MimeDirectory* directory = runtime.mimeDirectories.Find(found->directory);
    return directory != nullptr && directory->note == note ? found : nullptr;
}

// Hands out length bytes (0xFFFFFFFF: all) of the entity's content from offset.
STATUS EntityData(Runtime& runtime, NOTEHANDLE note, PMIMEENTITY entity, uint32_t offset,
                  uint32_t length, DHANDLE* data, uint32_t* dataLength, uint32_t* encodedLength) {
    const MimeEntityNode* found = FindEntityOfNote(runtime, note, entity);
    if (found == nullptr || data == nullptr || dataLength == nullptr)
        return kErrInvalidArgument;
    const std::string& content = found->content.data;
    const std::string piece = offset < content.size() ? content.substr(offset, length) : "";
    if (STATUS status = NewBlock(runtime, piece + '\0', data))
        return status;
    *dataLength = static_cast<uint32_t>(piece.size());
    if (encodedLength != nullptr)
        *encodedLength = static_cast<uint32_t>(content.size());
    return 0;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEOpenDirectory(NOTEHANDLE note,
                                                         HMIMEDIRECTORY* directory) {
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

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEFreeDirectory(HMIMEDIRECTORY directory) {
    return RunReleaseCall("MIMEFreeDirectory", [&](Runtime& runtime) -> STATUS {
        if (!runtime.mimeDirectories.Remove(directory))
            return kErrInvalidHandle;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEGetRootEntity(HMIMEDIRECTORY directory,
                                                         PMIMEENTITY* root) {
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

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEIterateNext(HMIMEDIRECTORY directory, PMIMEENTITY root,
                                                       PMIMEENTITY previous, PMIMEENTITY* next) {
    return RunCall("MIMEIterateNext", true, [&](Runtime& runtime) -> STATUS {
        const MimeDirectory* open = runtime.mimeDirectories.Find(directory);
        if (open == nullptr)
            return kErrInvalidHandle;
        const MimeEntityNode* top = FindEntity(runtime, root);
        const MimeEntityNode* last = previous == nullptr ? nullptr : FindEntity(runtime, previous);
        if (next == nullptr || top == nullptr || top->directory != directory ||
            (previous != nullptr &&
             (last == nullptr || last->index < top->index || last->index >= top->end)))
            return kErrInvalidArgument;
        const size_t following = last == nullptr ? top->index : last->index + 1;
        *next = following < top->end ? open->entities[following].get() : nullptr;
        return 0;
    });
}

extern "C" NOTESRT_API BOOL LNPUBLIC MIMEEntityIsDiscretePart(PMIMEENTITY entity) {
    return RunPlainCall(0, [&](Runtime& runtime) {
        const MimeEntityNode* found = FindEntity(runtime, entity);
        return found != nullptr && !found->content.multipart && !IsMessagePart(*found) ? 1 : 0;
    });
}

extern "C" NOTESRT_API BOOL LNPUBLIC MIMEEntityIsMultiPart(PMIMEENTITY entity) {
    return RunPlainCall(0, [&](Runtime& runtime) {
        const MimeEntityNode* found = FindEntity(runtime, entity);
        return found != nullptr && found->content.multipart ? 1 : 0;
    });
}

extern "C" NOTESRT_API MIMESYMBOL LNPUBLIC MIMEEntityContentType(PMIMEENTITY entity) {
    return RunPlainCall(MIME_SYMBOL_UNKNOWN, [&](Runtime& runtime) {
        const MimeEntityNode* found = FindEntity(runtime, entity);
        return found == nullptr ? MIME_SYMBOL_UNKNOWN
                                : SymbolOf(ContentName(*found, 0), kTypeSymbols);
    });
}

extern "C" NOTESRT_API MIMESYMBOL LNPUBLIC MIMEEntityContentSubtype(PMIMEENTITY entity) {
    return RunPlainCall(MIME_SYMBOL_UNKNOWN, [&](Runtime& runtime) {
        const MimeEntityNode* found = FindEntity(runtime, entity);
        return found == nullptr ? MIME_SYMBOL_UNKNOWN
                                : SymbolOf(ContentName(*found, 1), kSubtypeSymbols);
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEGetEntityPartFlags(NOTEHANDLE note, PMIMEENTITY entity,
                                                              uint32_t* flags) {
    return RunCall("MIMEGetEntityPartFlags", true, [&](Runtime& runtime) -> STATUS {
        const MimeEntityNode* found = FindEntityOfNote(runtime, note, entity);
        if (found == nullptr || flags == nullptr)
            return kErrInvalidArgument;
        *flags = found->content.attachment ? MIME_PART_BODY_IN_DBOBJECT : 0;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEEntityGetTypeParam(PMIMEENTITY entity,
                                                              MIMESYMBOL parameter, DHANDLE* value,
                                                              uint32_t* valueLength) {
    return RunCall("MIMEEntityGetTypeParam", true, [&](Runtime& runtime) -> STATUS {
        const MimeEntityNode* found = FindEntity(runtime, entity);
        if (found == nullptr || value == nullptr || valueLength == nullptr)
            return kErrInvalidArgument;
        if (parameter != MIME_SYMBOL_CHARSET || found->content.charset.empty())
            return ERR_NOT_FOUND;
        if (STATUS status = NewBlock(runtime, found->content.charset + '\0', value))
            return status;
        *valueLength = static_cast<uint32_t>(found->content.charset.size());
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEGetDecodedEntityData(NOTEHANDLE note, PMIMEENTITY entity,
                                                                uint32_t offset, uint32_t length,
                                                                DHANDLE* data, uint32_t* dataLength,
                                                                uint32_t* encodedLength) {
    return RunCall("MIMEGetDecodedEntityData", true, [&](Runtime& runtime) -> STATUS {
        return EntityData(runtime, note, entity, offset, length, data, dataLength, encodedLength);
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MIMEGetEntityData(NOTEHANDLE note, PMIMEENTITY entity,
                                                         WORD part, uint32_t offset,
                                                         uint32_t length, DHANDLE* data,
                                                         uint32_t* dataLength) {
    return RunCall("MIMEGetEntityData", true, [&](Runtime& runtime) -> STATUS {
        if (part != MIME_ENTITY_DATA_BODY)
            return kErrInvalidArgument;
        return EntityData(runtime, note, entity, offset, length, data, dataLength, nullptr);
    });
}
