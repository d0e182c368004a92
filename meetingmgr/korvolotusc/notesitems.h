// Reading a note's items as narrow text: single items into bounded buffers, and the rich-text
// body as plain UTF-8 text.
#pragma once

#include "notesapi.h"

#include <cstddef>

// Bytes of a body buffer (the calendar's shared text buffer): 61439 bytes of text and a NUL.
constexpr size_t kBodyBufferSize = 61440;

// Reads the item itemName as text (LMBCS, as the runtime gives it) into buffer, which holds
// bufferSize bytes: at most bufferSize - 1 bytes and a NUL, with every NUL byte inside the
// text removed. A missing item leaves the text empty. Texts that do not fit are cut and
// logged. Returns whether the note has the item (false also for rejected arguments).
bool GetTextByNoteItem(NOTEHANDLE note, const char* itemName, char* buffer, uint16_t bufferSize);

// Reads every item "Body" of the note, in order, as plain text translated to UTF-8, into
// buffer (kBodyBufferSize bytes, cleared by the caller): paragraphs end in CR LF and lines
// are broken at 100 characters. Returns 1 when the body was read, possibly cut at 61439
// bytes, and 0 when there is no body or a runtime call failed.
int GetCompositeTextByNoteItem(NOTEHANDLE note, char* buffer);
