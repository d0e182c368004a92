// Views, collections and notes of an open database, and the text form of a note's UNID.
// Handles returned here belong to the caller; every open call leaves its output 0 when it
// fails, and the failure has gone to the error handler.
#pragma once

#include "KorvoLotusC.h"
#include "notesapi.h"

#include <cstddef>

// Characters of a UNID text: 32 hexadecimal digits (the terminating NUL not counted).
constexpr size_t kUnidTextLength = 32;

// Writes unid as 32 upper-case hexadecimal digits and a NUL into text: the file half's high
// then low word, then the note half's high then low word.
void FormatNoteUNID(const UNID& unid, char (&text)[kUnidTextLength + 1]);

// Looks up the view named viewName in db. *viewNoteId is set only when the view is found;
// callers set it to 0 beforehand and test it afterwards.
void GetDBView(DBHANDLE db, const char* viewName, NOTEID* viewNoteId);

// Closes an open collection; handle 0 is logged and ignored.
void CloseCollection(HCOLLECTION collection);

// Replaces unidText with the UNID text of the note's originator ID; it is emptied for note 0.
void GetNoteOID(NOTEHANDLE note, CString& unidText);

// Opens the note whose UNID is *unid into *note; 0 on failure. Close it with CloseNote.
void OpenNoteByUNID(DBHANDLE db, const UNID* unid, NOTEHANDLE* note);

// Opens note noteId into *note; 0 on failure. With mime set the note is opened so that its
// MIME body shows as MIME entities (GetBodyMIMEText). Close it with CloseNote.
void OpenNoteByNoteID(DBHANDLE db, NOTEID noteId, NOTEHANDLE* note, bool mime);

// Closes an open note; handle 0 does nothing.
void CloseNote(NOTEHANDLE note);
