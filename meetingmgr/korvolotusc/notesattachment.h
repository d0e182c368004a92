// Attached files of notes.
#pragma once

#include "notesapi.h"

#include <cstdint>

// Extracts the note's first "$FILE" attachment to the file path (ANSI) when it is a DOS file
// object named exactly "ContactPhoto" of at least one byte. Returns the file's size, or 0
// (logged, unless the note has no attachment) when there is no such attachment or it could
// not be written. The caller owns the file at path either way.
uint32_t GetAttachmentFile(NOTEHANDLE note, const char* path);
