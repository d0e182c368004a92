// The runtime's error texts.
#include "status.h"

#include <cstring>
#include <map>
#include <mutex>

namespace notesrt {
namespace {

struct StatusText {
    STATUS code;      // status AND 0x3fff
    const char* text; // what the runtime says about it
};

constexpr StatusText kStatusTexts[] = {
    {kErrFileNotFound, "File does not exist"},
    {kErrNotesIniNotFound, "Cannot read the notes.ini file"},
    {kErrIdFileMissing, "The ID file cannot be found"},
    {kErrIdFileDamaged, "The ID file is damaged"},
    {kErrNotStarted, "The Notes runtime has not been started"},
    {kErrInvalidHandle, "Invalid handle"},
    {kErrInvalidArgument, "Invalid argument"},
    {kErrNoMemory, "Insufficient memory"},
    {kErrDatabaseDamaged, "Database is damaged"},
    {kErrPathTooLong, "File name too long"},
    {kErrServerUnreachable, "Unable to find path to server"},
    {kErrListInvalid, "Invalid or full text list"},
    {kErrInternal, "Internal error in the Notes runtime"},
    {kErrTooManyHandles, "Too many handles in use"},
    {kErrNoteNotFound, "Invalid or nonexistent document"},
    {kErrCannotConvert, "This type of item cannot be converted to text"},
    {kErrNoMimeBody, "The note has no MIME part"},
    {kErrBadTimeText, "Unable to interpret time or date"},
    {kErrTimeOutOfRange, "Time or date out of range"},
    {kErrTextTooLong, "The text does not fit in the buffer"},
    {kErrCannotWriteFile, "Cannot write the file"},
    {ERR_ITEM_NOT_FOUND, "Note item not found"},
    {ERR_NOT_FOUND, "Entry not found in index"},
    {ERR_ID_LOCKED, "Your ID file is locked by another process. Close it and try again."},
    {ERR_SCHOBJ_NOTEXIST, "No further schedule information"},
};

// Details of the latest failures, by error code. Guarded by its own lock because the error
// text is read while the runtime may be stopped.
struct Details {
    std::mutex mutex;                    // guards texts
    std::map<STATUS, std::string> texts; // detail by error code
};

Details& TheDetails() {
    static Details details;
    return details;
}

const char* BaseText(STATUS code) {
    for (const StatusText& entry : kStatusTexts) {
        if (entry.code == code)
            return entry.text;
    }
    return nullptr;
}

} // namespace

void SetStatusDetail(STATUS status, const std::string& detail) {
    Details& details = TheDetails();
    std::lock_guard<std::mutex> lock(details.mutex);
    details.texts[ERR(status)] = detail;
}

STATUS Fail(STATUS status, const std::string& detail) {
    SetStatusDetail(status, detail);
    return status;
}

void ClearStatusDetails() {
    Details& details = TheDetails();
    std::lock_guard<std::mutex> lock(details.mutex);
    details.texts.clear();
}

} // namespace notesrt

extern "C" NOTESRT_API WORD LNPUBLIC OSLoadString(HMODULE, STATUS status, char* buffer,
                                                  uint16_t bufferLength) {
    using namespace notesrt;
    if (buffer == nullptr || bufferLength == 0)
        return 0;
    buffer[0] = '\0';
    const STATUS code = ERR(status);
    const char* base = BaseText(code);
    if (base == nullptr)
        return 0;
    std::string text = base;
    {
        Details& details = TheDetails();
        std::lock_guard<std::mutex> lock(details.mutex);
        auto found = details.texts.find(code);
        if (found != details.texts.end() && !found->second.empty())
            text += ": " + found->second;
    }
    size_t length = text.size();
    if (length > bufferLength - 1u)
        length = bufferLength - 1u;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<uint16_t>(length);
}
