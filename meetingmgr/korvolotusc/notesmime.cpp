#include "notesmime.h"

#include "notesclib.h"
#include "notesitems.h"
#include "trace.h"

#include <algorithm>
#include <cstring>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr char kUsAscii[] = "US-ASCII";                // the charset read without decoding
constexpr uint32_t kAllBytes = 0xFFFFFFFF;             // data length meaning "everything"
constexpr size_t kBodyTextLimit = kBodyBufferSize - 1; // text bytes a body buffer holds

// Whether the entity's charset parameter is exactly "US-ASCII". A failed read is reported.
bool HasUsAsciiCharset(PMIMEENTITY entity) {
    DHANDLE param = NULLHANDLE;
    DWORD length = 0;
    const STATUS status = MIMEEntityGetTypeParam(entity, MIME_SYMBOL_CHARSET, &param, &length);
    if (status != NOERROR) {
        NotesAPIErrHandler("MIMEEntityGetTypeParam", status);
        return false;
    }
    const char* text = static_cast<const char*>(OSLockObject(param));
    const size_t expected = sizeof kUsAscii - 1;
    const bool same =
        text != nullptr &&
        static_cast<size_t>(std::find(text, text + length, '\0') - text) == expected &&
        std::memcmp(text, kUsAscii, expected) == 0;
    OSUnlockObject(param);
    OSMemFree(param);
    return same;
}

// Releases a MIME directory; a failure is reported.
void FreeDirectory(HMIMEDIRECTORY directory) {
    const STATUS status = MIMEFreeDirectory(directory);
    if (status != NOERROR)
        NotesAPIErrHandler("MIMEFreeDirectory", status);
}

} // namespace

void GetMIMEData(NOTEHANDLE note, PMIMEENTITY entity, MIMEDataTarget& target) {
    const uint32_t capacity = target.length & 0xFFFF;
    target.length = 0;
    // Text parts are told by their subtype: plain or html.
    const MIMESYMBOL type = MIMEEntityContentSubtype(entity);
    if (type != MIME_SYMBOL_PLAIN && type != MIME_SYMBOL_HTML) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetMIMEData", "This MIME part [type=%d] has no text.",
                    static_cast<int>(type));
        return;
    }
    DHANDLE data = NULLHANDLE;
    DWORD dataLength = 0;
    STATUS status = NOERROR;
    if (HasUsAsciiCharset(entity)) {
        status = MIMEGetEntityData(note, entity, MIME_ENTITY_DATA_BODY, 0, kAllBytes, &data,
                                   &dataLength);
    } else {
        DWORD unused = 0;
        status = MIMEGetDecodedEntityData(note, entity, 0, kAllBytes, &data, &dataLength, &unused);
    }
    if (status != NOERROR) {
        NotesAPIErrHandler("MIMEGetDecodedEntityData", status);
        return;
    }
    const uint32_t length = std::min(capacity, dataLength);
    const char* bytes = static_cast<const char*>(OSLockObject(data));
    if (bytes != nullptr) {
        std::memcpy(target.destination, bytes, length);
        target.length = length;
    }
    target.destination[target.length] = '\0';
    OSUnlockObject(data);
    OSMemFree(data);
}

void GetBodyMIMEText(NOTEHANDLE note, char* buffer) {
    if (buffer == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetBodyMIMEText", "Invalid parameters!!");
        return;
    }
    std::memset(buffer, 0, kBodyBufferSize);
    HMIMEDIRECTORY directory = NULLHANDLE;
    STATUS status = MIMEOpenDirectory(note, &directory);
    if (status != NOERROR) {
        NotesAPIErrHandler("MIMEOpenDirectory", status);
        return;
    }
    PMIMEENTITY root = nullptr;
    status = MIMEGetRootEntity(directory, &root);
    if (status != NOERROR) {
        NotesAPIErrHandler("MIMEGetRootEntity", status);
        FreeDirectory(directory);
        return;
    }

    size_t used = 0;
    // The walk ends at the null entity after the last one; only parts with content (neither
    // multipart nor message entities) can hold body text.
    for (PMIMEENTITY entity = root; entity != nullptr;) {
        if (MIMEEntityIsDiscretePart(entity)) {
            DWORD flags = 0;
            const STATUS flagStatus = MIMEGetEntityPartFlags(note, entity, &flags);
            if (flagStatus != NOERROR) {
                NotesAPIErrHandler("MIMEGetEntityPartFlags", flagStatus);
            } else if ((flags & MIME_PART_BODY_IN_DBOBJECT) == 0) {
                MIMEDataTarget target{buffer + used, static_cast<uint32_t>(kBodyTextLimit - used)};
                GetMIMEData(note, entity, target);
                used += target.length;
            }
        }
        if (used >= kBodyTextLimit) {
            KORVO_TRACE(PM_SDK::kLevelFailure, "GetBodyMIMEText", "Text buffer is not enough !!");
            break;
        }
        PMIMEENTITY next = nullptr;
        status = MIMEIterateNext(directory, root, entity, &next);
        if (status != NOERROR)
            break;
        entity = next;
    }
    FreeDirectory(directory);
    if (status != NOERROR)
        NotesAPIErrHandler("MIMEIterateNext", status);
}
