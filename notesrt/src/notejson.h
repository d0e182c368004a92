// Notes in the JSON form of database files, for writing databases back.
#pragma once

#include "database.h"

#include <nlohmann/json.hpp>

#include <string>

namespace notesrt {

// Writes note as a database file holds it into object: its note ID, its UNID, its class and
// its items, each item in the value form that reads back to the same value. A value that no
// readable form carries exactly (text that does not survive the way through UTF-8, rich text
// whose paragraphs hold line breaks, a time outside the years 1 to 9999, a number that is
// not finite) is written as a raw value of its bytes. False, with problem set, for a note
// class that database files cannot hold.
bool NoteToJson(const Note& note, nlohmann::ordered_json& object, std::string& problem);

// The text of note (an object NoteToJson wrote) as a database file holds it: one block with
// one item a line, so the file stays readable and easy to edit.
std::string NoteFileText(const nlohmann::ordered_json& note);

} // namespace notesrt
