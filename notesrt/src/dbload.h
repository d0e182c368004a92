// Reading a database file's JSON into the model.
#pragma once

#include "database.h"
#include "model.h"

#include <istream>
#include <string>

namespace notesrt {

// Builds model from a database file's text, read from stream or given whole. Notes without
// "noteId" get 4 x (position + 1), notes without "unid" the replica ID's 16 digits followed by
// the position as 16 digits, so both are the same at every read; every note gets an originator
// ID of sequence 1. A missing "replicaId" or "dbId" is zero. Returns false, with problem
// describing the first fault (JSON syntax, arrays and objects nested too deep, a value of
// unknown kind, a duplicate note ID or UNID, a malformed field), when the text is not a
// database; model is then unspecified. The text is read as it comes: no tree of the whole
// document is built. model.layout records where the notes stand in the text. A caller reading
// a stream whose size it knows calls model.Reserve with it first.
bool LoadModel(std::istream& stream, Model& model, std::string& problem);
bool LoadModel(const std::string& text, Model& model, std::string& problem);

// Builds the lookups by note ID and UNID of model, a model of a whole file; false, with
// problem naming it, when a note ID or a UNID repeats an earlier note's.
bool IndexFileNotes(Model& model, std::string& problem);

// As LoadModel, into the plain form of database.h with its lookups.
bool ParseDatabase(const std::string& text, Database& db, std::string& problem);

} // namespace notesrt
