// Text forms of note identifiers.
#pragma once

#include "notesapi.h"

// Reads a UNID text of 32 hexadecimal digits into *unid: the four 8-digit groups give the
// file half's high and low word, then the note half's high and low word; a character that
// is not a hexadecimal digit ends its group's number. A null text or one of another length
// is logged and leaves *unid unchanged.
void ConvertNoteUNIDFromChar(const char* text, UNID* unid);
