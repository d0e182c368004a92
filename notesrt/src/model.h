// The runtime's model of a database file, held compactly: one record per note and per item,
// item names kept once per model, values in one byte arena, MIME bodies and file objects out of
// line. A loaded model never changes; every handle on the unchanged file shares it, and a note
// changed through its handle gets a model of its own.
//
// Values are kept in their stored form: text and raw values as their bytes; text lists and
// rich text as text records, each a 32-bit length (machine order) and the bytes; a number as
// its double; times as their TIMEDATEs; nothing for MIME bodies and file objects.
#pragma once

#include "database.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace notesrt {

class ViewEntries;
struct Calendar;

// A MIME body held out of line.
struct MimeValue {
    MimeEntity root;      // the entity tree
    std::string richText; // text records of the lines of its first text part (none without one)
};

// One item as the calls read it; valid while its model lives and is not changed.
struct ItemView {
    uint32_t name = 0;                // the name's number in its model (see Model::NameOf)
    ValueKind kind = ValueKind::Text; // what data holds
    uint16_t type = TYPE_TEXT;        // data type
    std::string_view data;            // the value in its stored form
    const MimeEntity* mime = nullptr; // Mime: the root entity; null otherwise
    const FileObject* file = nullptr; // File: the object; null otherwise
};

// Reads the next text record of records into text and drops it from records; false at the end
// or when the record runs past it.
bool NextText(std::string_view& records, std::string_view& text);

// True when records are whole text records.
bool WholeTexts(std::string_view records);

// Appends text to records as one text record.
void AppendText(std::string& records, std::string_view text);

// The number of TIMEDATEs of a Time or TimeList value, and the one at index.
size_t TimeCount(const ItemView& item);
TIMEDATE TimeAt(const ItemView& item, size_t index);

// The double of a Number value.
double NumberOf(const ItemView& item);

// A stretch of a text: the offsets of its first byte and of the byte after its last.
struct TextSpan {
    uint64_t begin = 0; // first byte
    uint64_t end = 0;   // the byte after the last
};

// Where a loaded model's notes stand in the file text it was read from, so that one note can
// be written back without touching the rest of the file.
struct FileLayout {
    uint64_t size = 0;           // bytes of the text
    uint64_t hash = 0;           // HashOfText of the text (parseinput.h)
    uint64_t rootEnd = 0;        // the offset of the database object's closing brace
    bool notesGiven = false;     // the text has a "notes" list (the last one given counts)
    TextSpan notesList;          // ... from its opening to past its closing bracket
    std::vector<TextSpan> notes; // each note's object, by position
};

// One note of a model.
struct NoteRecord {
    NOTEID noteId = 0;                        // non-zero and unique in a loaded model
    UNID unid = {};                           // the originator ID's UNID
    uint16_t noteClass = NOTE_CLASS_DOCUMENT; // NOTE_CLASS_DOCUMENT or NOTE_CLASS_VIEW
    uint32_t firstItem = 0;                   // the model's item number of its first item
    uint32_t itemCount = 0;                   // its items, in file order
};

// The originator ID of a loaded note: its UNID, sequence 1, the UNID's note half as the
// sequence time.
ORIGINATORID OidOf(const NoteRecord& note);

// A database file's notes. Lookups by note ID and UNID, and the derived data, are for loaded
// models; a model of one note's own items is read and changed through its only note.
class Model {
  public:
    std::string title;       // the database title (LMBCS)
    TIMEDATE replicaId = {}; // replica ID
    DBID dbId = {};          // instance ID
    FileLayout layout;       // where the notes stand in the file; loaded models only

    // Derived data, computed on first use under the runtime's lock and kept with the model:
    // the $Users entries, and the appointments.
    mutable std::shared_ptr<const ViewEntries> usersView; // null until computed
    mutable std::shared_ptr<const Calendar> calendar;     // null until computed

    const std::vector<NoteRecord>& Notes() const { return m_notes; }

    // The position of the note noteId (of the note with that UNID); false when there is none.
    // Valid once IndexNotes has run.
    bool FindById(NOTEID noteId, size_t& position) const;
    bool FindByUnid(const UNID& unid, size_t& position) const;

    // The item at position of note, a note of this model. Without rawMime a MIME body shows as
    // the rich text of its first text part, as a note opened without OPEN_RAW_MIME shows it.
    ItemView ItemAt(const NoteRecord& note, size_t position, bool rawMime = true) const;

    // The number that items named name (ignoring case) share; false when no item has it.
    bool FoldedName(std::string_view name, uint32_t& folded) const;

    // The position of the first item of note at or after from whose name has the folded
    // number folded (named name, ignoring case); false when there is none.
    bool FindItem(const NoteRecord& note, uint32_t folded, size_t from, size_t& position) const;
    bool FindItem(const NoteRecord& note, std::string_view name, size_t from,
                  size_t& position) const;

    // The spelling of the item name number name.
    std::string_view NameOf(uint32_t name) const { return m_names[name].text; }

    // Building a model: names, items of the note added last, notes.

    // The number of the item name (LMBCS), added when new.
    uint32_t InternName(std::string_view name);

    // Adds an item in stored form to the items of the next note; data is copied. Throws
    // std::bad_alloc when the arena would pass 4 GiB.
    void AddItem(uint32_t name, ValueKind kind, uint16_t type, std::string_view data);
    void AddMimeItem(uint32_t name, uint16_t type, MimeEntity root);
    void AddFileItem(uint32_t name, uint16_t type, FileObject file);

    // The items added since the last note; DropPendingItems forgets them.
    size_t PendingItems() const { return m_items.size() - m_committedItems; }
    void DropPendingItems() { m_items.resize(m_committedItems); }

    // Adds a note holding the pending items; its firstItem and itemCount are set here.
    void AddNote(NoteRecord note);

    // Adds copies of the items of note (of source) as the items of the next note.
    void AddItemsOf(const Model& source, const NoteRecord& note);

    // Makes note, holding the pending items, the note at position, in place of the one there
    // (whose items stay unused), or adds it when position is the number of notes. The derived
    // data is dropped; IndexNotes must run before the next lookup.
    void PutNote(size_t position, NoteRecord note);

    // Makes room for the notes of a file of fileBytes bytes, so that they are seldom moved
    // while the model grows.
    void Reserve(size_t fileBytes);

    // Forgets every note and item (the names stay).
    void ClearNotes();

    // Sets the UNID of the note at position, for a loader that learns it after the note.
    void SetUnid(size_t position, const UNID& unid) { m_notes[position].unid = unid; }

    // Builds the lookups by note ID and UNID; firstRepeatedId (firstRepeatedUnid) gets the
    // first position whose note ID (UNID) an earlier note has, Notes().size() when none.
    void IndexNotes(size_t& firstRepeatedId, size_t& firstRepeatedUnid);

    // Puts item into the model's only note in place of every item of its name (ignoring case):
    // where the first of them stood, or at the end when there was none. Returns that place.
    size_t PutItem(const Item& item);

  private:
    // One item: where its value lies and what it is.
    struct ItemRecord {
        uint32_t offset; // start in the arena; Mime, File: the index of the out-of-line value
        uint32_t size;   // bytes in the arena
        uint32_t name;   // the name's number
        uint16_t type;   // data type
        ValueKind kind;  // what the value is
    };

    // One item name.
    struct NameRecord {
        std::string text; // the spelling (LMBCS)
        uint32_t folded;  // shared by the names equal to it ignoring case
    };

    // The record of item, its value added to the arena or out of line.
    ItemRecord Encode(const Item& item);

    // A record of a value kept in the arena, data added to it.
    ItemRecord Stored(uint32_t name, ValueKind kind, uint16_t type, std::string_view data);

    std::vector<NameRecord> m_names;                       // by number
    std::unordered_map<std::string, uint32_t> m_nameIds;   // numbers by spelling
    std::unordered_map<std::string, uint32_t> m_foldedIds; // folded numbers by lower-case form
    std::vector<NoteRecord> m_notes;                       // in file order
    std::vector<ItemRecord> m_items;                       // each note's items together
    size_t m_committedItems = 0;                           // items that belong to a note
    std::string m_arena;                                   // the stored values
    std::vector<MimeValue> m_mimes;                        // the MIME bodies
    std::vector<FileObject> m_files;                       // the file objects
    std::vector<uint32_t> m_byId;                          // note positions by note ID
    std::vector<uint32_t> m_byUnid;                        // note positions by UNID
};

// The text records of the lines (LF or CR LF ends a line) of root's first text part, depth
// first, in LMBCS; empty when it has none.
std::string RichTextOfMime(const MimeEntity& root);

// A model holding one note without items, for a note that gets items of its own.
std::shared_ptr<Model> EmptyNoteModel();

// A model holding a copy of note (of source), for a note changed through its handle.
std::shared_ptr<Model> CopyOfNote(const Model& source, const NoteRecord& note);

// The item a view shows, as a value of its own.
Item ExpandItem(const Model& model, const ItemView& item);

// A model in the plain form of database.h, with its lookups.
Database ExpandModel(const Model& model);

} // namespace notesrt
