// Reading the text parts of a note's MIME body.
#pragma once

#include "notesapi.h"

#include <cstdint>

// Where GetMIMEData copies an entity's text.
struct MIMEDataTarget {
    char* destination; // receives the text and a NUL: room for capacity + 1 bytes
    uint32_t length;   // in: the capacity in bytes (its low 16 bits count); out: bytes copied
};

// Fills buffer (kBodyBufferSize bytes; cleared here) with the texts of the text/plain and
// text/html parts of the note's MIME body that are not attachments, one after the other, at
// most 61439 bytes. The note must have been opened with the MIME flag (OpenNoteByNoteID).
// Failures are reported and leave what was read so far.
void GetBodyMIMEText(NOTEHANDLE note, char* buffer);

// Copies the decoded content of entity, when it is a text/plain or text/html part, into
// target: at most the capacity bytes, as decoded (no character-set translation), and a NUL.
// target.length is 0 for other parts and after a failure.
void GetMIMEData(NOTEHANDLE note, PMIMEENTITY entity, MIMEDataTarget& target);
