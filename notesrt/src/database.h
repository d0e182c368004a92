// Notes and their items as plain values: the form new items are made in, notes are written
// back to files from, and tests read a whole database in. The runtime holds databases in the
// compact form of model.h.
#pragma once

#include "notesapi.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace notesrt {

// What an item holds; each kind uses the Item members named beside it.
enum class ValueKind : uint8_t {
    Text,     // text
    TextList, // texts
    Number,   // number
    Time,     // times (one)
    TimeList, // times
    RichText, // texts: the paragraphs
    Mime,     // mime
    File,     // file
    Raw,      // raw, with the data type in type
};

// One MIME entity: the root of a MIME body, or one of its parts.
struct MimeEntity {
    std::string contentType;       // e.g. "text/plain", as written in the file
    std::string charset;           // the charset type parameter; empty when none
    std::string data;              // decoded content of a leaf; empty for a container
    bool attachment = false;       // the part is an attachment
    bool multipart = false;        // a container whose children are parts
    std::vector<MimeEntity> parts; // children of a container, in order
};

// An attached file object.
struct FileObject {
    std::string name;        // the object's file name (LMBCS)
    std::string data;        // the file's bytes
    uint16_t objectType = 0; // object type as given in the file
    uint16_t hostType = 0;   // host type as given in the file
};

// One item of a note.
struct Item {
    std::string name;                 // item name (LMBCS)
    ValueKind kind = ValueKind::Text; // which members below hold the value
    uint16_t type = TYPE_TEXT;        // data type
    std::string text;                 // Text: LMBCS bytes
    std::vector<std::string> texts;   // TextList: entries; RichText: paragraphs (LMBCS)
    double number = 0;                // Number
    std::vector<TIMEDATE> times;      // Time: one entry; TimeList: the entries in order
    MimeEntity mime;                  // Mime: the root entity
    FileObject file;                  // File
    std::string raw;                  // Raw: the exact value bytes
};

// One note of a database.
struct Note {
    NOTEID noteId = 0;                        // non-zero, unique in the database
    ORIGINATORID oid = {};                    // UNID, sequence and sequence time
    uint16_t noteClass = NOTE_CLASS_DOCUMENT; // NOTE_CLASS_DOCUMENT or NOTE_CLASS_VIEW
    std::vector<Item> items;                  // in file order; names may repeat
};

// The four words of a UNID, as a key for ordered lookups.
using UnidKey = std::array<uint32_t, 4>;

UnidKey KeyOfUnid(const UNID& unid);

// The UNID part of an originator ID.
UNID UnidOfNote(const Note& note);

// A database as read from its file, in plain form.
struct Database {
    std::string title;                         // the database title (LMBCS)
    TIMEDATE replicaId = {};                   // replica ID
    DBID dbId = {};                            // instance ID
    std::vector<Note> notes;                   // in file order
    std::map<NOTEID, size_t> noteIndexById;    // position in notes by note ID
    std::map<UnidKey, size_t> noteIndexByUnid; // position in notes by UNID
};

} // namespace notesrt
