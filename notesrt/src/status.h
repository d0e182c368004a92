// Status codes the runtime returns, and the details that complete their texts.
#pragma once

#include "notesapi.h"

#include <string>

namespace notesrt {

// Error codes of this runtime, beside the public ones of notesapi.h.
enum : STATUS {
    kErrFileNotFound = 0x0103,      // a database file does not exist
    kErrNotesIniNotFound = 0x0104,  // notes.ini cannot be read
    kErrIdFileMissing = 0x0105,     // the ID file named in notes.ini does not exist
    kErrIdFileDamaged = 0x0106,     // the ID file holds no user name
    kErrNotStarted = 0x0107,        // the runtime has not been started
    kErrInvalidHandle = 0x0108,     // a handle that is 0, unknown, or from before a stop
    kErrInvalidArgument = 0x0109,   // a null output or a value out of range
    kErrNoMemory = 0x010A,          // an allocation failed or is too large
    kErrDatabaseDamaged = 0x010B,   // a database file cannot be read as a database
    kErrPathTooLong = 0x010C,       // a path or a part of it does not fit its buffer
    kErrServerUnreachable = 0x010D, // a server name that maps to no folder
    kErrListInvalid = 0x010E,       // a list handle that holds no valid list, or a full list
    kErrInternal = 0x010F,          // an unexpected failure inside the runtime
    kErrTooManyHandles = 0x0110,    // every handle number of a kind is in use
    kErrNoteNotFound = 0x0111,      // no note of that note ID in the database
    kErrCannotConvert = 0x0112,     // an item value of a type that has no text form
    kErrNoMimeBody = 0x0113,        // the note, as opened, shows no MIME body
    kErrBadTimeText = 0x0114,       // a text that is not a time in the given format
    kErrTimeOutOfRange = 0x0115,    // a time outside the years 1 to 9999, or not a time
    kErrTextTooLong = 0x0116,       // a text that does not fit the caller's buffer
    kErrCannotWriteFile = 0x0117,   // a file could not be written
};

// Records the detail of the latest failure with status (for example the file and the
// problem); OSLoadString appends it to the status's text until another detail replaces it.
void SetStatusDetail(STATUS status, const std::string& detail);

// Returns status after recording detail for it.
STATUS Fail(STATUS status, const std::string& detail);

// Forgets every recorded detail.
void ClearStatusDetails();

} // namespace notesrt
