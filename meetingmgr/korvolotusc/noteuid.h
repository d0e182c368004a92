// Finding an appointment's note by its UNID or by its calendar UID. Note handles returned
// here belong to the caller, who closes them with CloseNote; every lookup leaves its output
// 0 when it fails, and the failure has gone to the error handler.
#pragma once

#include "notesapi.h"

// The note ID of the note of db whose UNID is unid; 0 when db is 0 (logged) or the runtime
// finds no such note.
NOTEID GetNoteID(DBHANDLE db, const UNID& unid);

// Opens the appointment of db whose calendar UID is uid into *note. With a non-empty
// recurrenceId (yyyymmddThhmmssZ) the appointment must have that instance. *note is 0 when
// db is 0 or uid is empty (logged) or the runtime finds no such appointment.
void OpenNoteByUID(DBHANDLE db, const char* uid, const char* recurrenceId, NOTEHANDLE* note);
