// The Notes access layer: the error handler every failed runtime call goes through, and the
// small wrappers over the runtime that the rest of the library calls. Wrappers return no
// status: they log, leave their output empty or their handle 0, and the caller tests that.
#pragma once

#include "notesapi.h"

// The status of the most recent failure the error handler saw (process-wide, 0 at load).
STATUS GetLastNotesStatus();
void SetLastNotesStatus(STATUS status);

// Records status as the last status and logs it with the runtime's text, under label (the
// failed call's name, or "Wrapper---Call"; may be null).
void NotesAPIErrHandler(const char* label, STATUS status);

// Reads the notes.ini variable name into buffer (256 bytes). Returns whether it was found;
// when not, buffer is empty.
bool GetEnvironmentString(const char* name, char* buffer);

// The current user's canonical name into buffer (256 bytes); empty on failure.
void GetOwnerName(char* buffer);

// The file name of the first address book the runtime lists for server (null or empty: the
// local installation) into buffer (256 bytes); empty when there is none.
void GetAddressBookFileName(const char* server, char* buffer);

// Opens server!!file into *handle unless *handle is already open. On failure *handle is 0.
// The caller closes it with CloseDB.
void OpenDB(const char* server, const char* file, DBHANDLE* handle);

// Closes *handle if it is open and sets it to 0 in every case.
void CloseDB(DBHANDLE* handle);

// Starts the runtime with programDirectory and, when iniArgument is not empty, the
// "=path" argument. Returns true when it started; a failure has gone to the error handler.
bool InitNotesLibrary(const char* programDirectory, const char* iniArgument);

// Stops the runtime.
void UninitNotesLibrary();
