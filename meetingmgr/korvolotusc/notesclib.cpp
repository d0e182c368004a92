#include "notesclib.h"

#include "trace.h"

#include <cstring>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr size_t kTextBuffer = 256;      // bytes of the wrappers' text buffers
constexpr size_t kErrorTextBuffer = 512; // bytes of the runtime's error text
STATUS g_lastStatus = 0;                 // the most recent failure's status

} // namespace

STATUS GetLastNotesStatus() {
    return g_lastStatus;
}

void SetLastNotesStatus(STATUS status) {
    g_lastStatus = status;
}

void NotesAPIErrHandler(const char* label, STATUS status) {
    g_lastStatus = status;
    char text[kErrorTextBuffer] = {};
    OSLoadString(nullptr, ERR(status), text, sizeof text);
    if (label != nullptr)
        KORVO_TRACE(PM_SDK::kLevelFailure, "NotesAPIErrHandler", "%s -- error[%d]:%s", label,
                    static_cast<int>(status), text);
    else
        KORVO_TRACE(PM_SDK::kLevelFailure, "NotesAPIErrHandler", "Notes API error[%d]:%s",
                    static_cast<int>(status), text);
}

bool GetEnvironmentString(const char* name, char* buffer) {
    if (buffer == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetEnvironmentString", "Invalid parameters!!");
        return false;
    }
    if (OSGetEnvironmentString(name, buffer, kTextBuffer - 1) != 0)
        return true;
    KORVO_TRACE(PM_SDK::kLevelFailure, "GetEnvironmentString",
                "Fail to read [%s] value in notes.ini.", name);
    buffer[0] = '\0';
    return false;
}

void GetOwnerName(char* buffer) {
    std::memset(buffer, 0, kTextBuffer);
    const STATUS status = SECKFMGetUserName(buffer);
    if (status != NOERROR) {
        NotesAPIErrHandler("SECKFMGetUserName", status);
        buffer[0] = '\0';
        return;
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "GetOwnerName", "GetOwnerName:[%s]", buffer);
}

void GetAddressBookFileName(const char* server, char* buffer) {
    if (buffer == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetAddressBookFileName", "Invalid parameters!!");
        return;
    }
    buffer[0] = '\0';

    uint16_t count = 0;
    uint16_t length = 0;
    DHANDLE list = NULLHANDLE;
    const STATUS status = NAMEGetAddressBooks(server, 0, &count, &length, &list);
    if (status != NOERROR) {
        NotesAPIErrHandler("NAMEGetAddressBooks", status);
        return;
    }
    if (count == 0) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAddressBookFileName", "Find No entries in NAMES.");
        OSMemFree(list);
        return;
    }
    if (count > 1)
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAddressBookFileName",
                    "There are more than one entries in NAMES. Use the fisrt DataBase.");

    const char* path = static_cast<const char*>(OSLockObject(list));
    for (int entry = 1; path != nullptr && entry <= count; ++entry) {
        char port[kTextBuffer] = {};
        char serverPart[kTextBuffer] = {};
        char file[kTextBuffer] = {};
        const STATUS parsed = OSPathNetParse(path, port, serverPart, file);
        if (parsed != NOERROR)
            NotesAPIErrHandler("OSPathNetParse", parsed);
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetAddressBookFileName",
                    "Entry[%d]:Port = %s, Server = %s, File = %s", entry, port, serverPart, file);
        if (entry == 1) {
            const size_t fileLength = std::strlen(file);
            if (fileLength >= kTextBuffer)
                KORVO_TRACE(PM_SDK::kLevelFailure, "GetAddressBookFileName",
                            "Buffer is not enough!!");
            else
                std::memcpy(buffer, file, fileLength + 1);
        }
        path += std::strlen(path) + 1;
    }
    OSUnlockObject(list);
    OSMemFree(list);
}

void OpenDB(const char* server, const char* file, DBHANDLE* handle) {
    if (*handle != NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "OpenDB", "database have been opened before!!");
        return;
    }
    char path[kTextBuffer] = {};
    const STATUS status = OSPathNetConstruct(nullptr, server, file, path);
    if (status != NOERROR || path[0] == '\0') {
        NotesAPIErrHandler("OSPathNetConstruct", status);
        return;
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "OpenDB", "Open database file [%s]", path);
    const STATUS opened = NSFDbOpen(path, handle);
    if (opened != NOERROR) {
        NotesAPIErrHandler("NSFDbOpen", opened);
        *handle = NULLHANDLE;
    }
}

void CloseDB(DBHANDLE* handle) {
    if (*handle != NULLHANDLE) {
        const STATUS status = NSFDbClose(*handle);
        if (status != NOERROR)
            NotesAPIErrHandler("NSFDbClose", status);
    }
    *handle = NULLHANDLE;
}

bool InitNotesLibrary(const char* programDirectory, const char* iniArgument) {
    KORVO_TRACE(PM_SDK::kLevelProgress, "InitNotesLibrary", "NotesPath[%s],NotesIniPath[%s]",
                programDirectory, iniArgument);
    char* argv[2] = {const_cast<char*>(programDirectory), const_cast<char*>(iniArgument)};
    const int argc = iniArgument[0] != '\0' ? 2 : 1;
    const STATUS status = NotesInitExtended(argc, argv);
    if (status != NOERROR) {
        NotesAPIErrHandler("NotesInitExtended", status);
        return false;
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "InitNotesLibrary", "Success");
    return true;
}

void UninitNotesLibrary() {
    KORVO_TRACE(PM_SDK::kLevelProgress, "UninitNotesLibrary", "before");
    NotesTerm();
    KORVO_TRACE(PM_SDK::kLevelProgress, "UninitNotesLibrary", "after");
}
