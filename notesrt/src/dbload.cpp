// Reading a database file's JSON into the model, from the parser's events: the notes and items
// go straight into the model, and only an item value that is an object (a time, a MIME body,
// ...) is built as a small tree before it is read. The faults are found in the order a reader
// of the whole tree would meet them: any syntax error first, then the database's own members,
// then the notes in order, each note's fields before its items. A file nested deeper than
// kMaxNesting is refused where the parser meets the level too deep, before anything reads the
// value: nothing that later walks a value (error texts, MIME bodies, the writer) meets a
// deeper one.
#include "dbload.h"

#include "base64.h"
#include "identifiers.h"
#include "lmbcs.h"
#include "parseinput.h"
#include "timedate.h"

#include <nlohmann/json.hpp>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>

namespace notesrt {
namespace {

using Json = nlohmann::json;

// Arrays and objects open at once that a database file may hold. An item needs 6 (the
// database, "notes", the note, "items", the pair, the value object) and a MIME body 2 more
// for each multipart in a multipart; mail nests a few, so 64 leaves MIME bodies 28 levels.
constexpr size_t kMaxNesting = 64;

// A fault found while reading an object value; its text becomes the problem.
struct LoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Damaged(const std::string& where, const std::string& what) {
    throw LoadError(where + ": " + what);
}

const std::string& StringField(const Json& object, const char* key, const std::string& where) {
    const Json& value = object.at(key);
    if (!value.is_string())
        Damaged(where, std::string("\"") + key + "\" is not a text");
    return value.get_ref<const std::string&>();
}

std::string Base64Field(const Json& object, const std::string& where) {
    std::string bytes;
    if (!object.contains("base64") || !DecodeBase64(StringField(object, "base64", where), bytes))
        Damaged(where, "\"base64\" is missing or not base64");
    return bytes;
}

uint16_t WordField(const Json& object, const char* key, const std::string& where) {
    if (!object.contains(key))
        return 0;
    const Json& value = object.at(key);
    if (!value.is_number_unsigned() || value.get<uint64_t>() > 0xFFFF)
        Damaged(where, std::string("\"") + key + "\" is not a number from 0 to 65535");
    return static_cast<uint16_t>(value.get<uint64_t>());
}

void AppendTime(const Json& value, const std::string& where, std::string& data) {
    TIMEDATE time;
    if (!value.is_string() || !ParseIsoTime(value.get_ref<const std::string&>(), time))
        Damaged(where, "bad time " + value.dump());
    data.append(reinterpret_cast<const char*>(&time), sizeof time);
}

// Where the MIME entity at path (part numbers from the root, each from 1) stands.
std::string MimeWhere(const std::string& where, const std::vector<size_t>& path) {
    std::string text = where;
    for (const size_t part : path)
        text += ", part " + std::to_string(part);
    return text;
}

// Reads a MIME entity; path holds the part numbers that lead to it, for the error text.
MimeEntity ReadMimeEntity(const Json& object, const std::string& where, std::vector<size_t>& path) {
    if (!object.is_object())
        Damaged(MimeWhere(where, path), "a MIME entity is not an object");
    MimeEntity entity;
    const auto text = [&](const char* key) -> const std::string& {
        const Json& value = object.at(key);
        if (!value.is_string())
            Damaged(MimeWhere(where, path), std::string("\"") + key + "\" is not a text");
        return value.get_ref<const std::string&>();
    };
    entity.contentType = object.contains("contentType") ? text("contentType") : "text/plain";
    if (object.contains("charset"))
        entity.charset = text("charset");
    if (object.contains("attachment")) {
        if (!object.at("attachment").is_boolean())
            Damaged(MimeWhere(where, path), "\"attachment\" is not true or false");
        entity.attachment = object.at("attachment").get<bool>();
    }
    if (object.contains("parts")) {
        const Json& parts = object.at("parts");
        if (!parts.is_array())
            Damaged(MimeWhere(where, path), "\"parts\" is not a list");
        entity.multipart = true;
        for (size_t i = 0; i < parts.size(); ++i) {
            path.push_back(i + 1);
            entity.parts.push_back(ReadMimeEntity(parts[i], where, path));
            path.pop_back();
        }
    } else if (object.contains("text")) {
        entity.data = text("text");
    } else if (object.contains("base64")) {
        std::string bytes;
        if (!DecodeBase64(text("base64"), bytes))
            Damaged(MimeWhere(where, path), "\"base64\" is missing or not base64");
        entity.data = std::move(bytes);
    }
    return entity;
}

// An item value read: what the item gets.
struct Value {
    ValueKind kind = ValueKind::Text; // what it is
    uint16_t type = TYPE_TEXT;        // data type
    std::string data;                 // the stored form, for the kinds kept in the arena
    MimeEntity mime;                  // Mime: the body
    FileObject file;                  // File: the object
};

// Reads the value of an item of the object kind: {"KIND": ...}.
void ReadObjectValue(const Json& value, Value& item, const std::string& where) {
    if (value.size() != 1)
        Damaged(where, "value of unknown kind " + value.dump());
    const std::string& kind = value.begin().key();
    const Json& body = value.begin().value();
    item.data.clear();
    if (kind == "time") {
        item.kind = ValueKind::Time;
        item.type = TYPE_TIME;
        AppendTime(body, where, item.data);
    } else if (kind == "times") {
        if (!body.is_array())
            Damaged(where, "\"times\" is not a list");
        item.kind = ValueKind::TimeList;
        item.type = TYPE_TIME_RANGE;
        for (const Json& entry : body)
            AppendTime(entry, where, item.data);
    } else if (kind == "richtext") {
        if (!body.is_string())
            Damaged(where, "\"richtext\" is not a text");
        item.kind = ValueKind::RichText;
        item.type = TYPE_COMPOSITE;
        const std::string& text = body.get_ref<const std::string&>();
        size_t start = 0;
        for (;;) {
            const size_t end = text.find('\n', start);
            AppendText(item.data, Utf8ToLmbcs(std::string_view(text).substr(start, end - start)));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    } else if (kind == "mime") {
        item.kind = ValueKind::Mime;
        item.type = TYPE_MIME_PART;
        std::vector<size_t> path;
        item.mime = ReadMimeEntity(body, where, path);
    } else if (kind == "file") {
        if (!body.is_object() || !body.contains("name"))
            Damaged(where, "\"file\" needs a \"name\"");
        item.kind = ValueKind::File;
        item.type = TYPE_OBJECT;
        item.file.name = Utf8ToLmbcs(StringField(body, "name", where));
        item.file.data = Base64Field(body, where);
        item.file.objectType = WordField(body, "objectType", where);
        item.file.hostType = WordField(body, "hostType", where);
    } else if (kind == "raw") {
        if (!body.is_object() || !body.contains("type"))
            Damaged(where, "\"raw\" needs a \"type\"");
        item.kind = ValueKind::Raw;
        item.type = WordField(body, "type", where);
        item.data = Base64Field(body, where);
    } else if (kind == "lmbcs") {
        if (!body.is_string() || !DecodeBase64(body.get<std::string>(), item.data))
            Damaged(where, "\"lmbcs\" is not base64");
        item.kind = ValueKind::Text;
        item.type = TYPE_TEXT;
    } else {
        Damaged(where, "value of unknown kind \"" + kind + "\"");
    }
}

// Appends UTF-8 text to records as one text record of its LMBCS form.
void AppendTextRecord(std::string& records, std::string_view utf8) {
    const size_t start = records.size();
    uint32_t length = 0;
    records.append(sizeof length, '\0');
    AppendLmbcsOfUtf8(records, utf8);
    length = static_cast<uint32_t>(records.size() - start - sizeof length);
    std::memcpy(&records[start], &length, sizeof length);
}

// One scalar as the parser reports it: a text, or another value.
struct Scalar {
    std::string* text; // a text: the parser's buffer; null for another value
    const Json* value; // another value; null for a text

    Json ToJson() const { return text != nullptr ? Json(*text) : *value; }
};

// Builds the tree of one value from the parser's events as the parser's own tree does: a
// repeated key keeps its last value.
class TreeBuilder {
  public:
    void Start(bool object) { m_open.push_back(Add(object ? Json::object() : Json::array())); }
    void Key(const std::string& key) { m_key = key; }
    void Value(Json value) { Add(std::move(value)); }

    // Closes the innermost open value; true when that was the outermost one.
    bool End() {
        m_open.pop_back();
        return m_open.empty();
    }

    const Json& Tree() const { return m_root; }

  private:
    Json* Add(Json value) {
        if (m_open.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        Json& parent = *m_open.back();
        if (parent.is_object()) {
            Json& slot = parent[m_key];
            slot = std::move(value);
            return &slot;
        }
        parent.push_back(std::move(value));
        return &parent.back();
    }

    Json m_root;               // the value built
    std::vector<Json*> m_open; // the arrays and objects not yet closed, outermost first
    std::string m_key;         // the key of the next member of an object
};

// A member of the database or of a note as last given (a repeated key keeps the last).
struct Member {
    bool present = false; // given
    bool text = false;    // a text
    std::string value;    // the text
};

// The parser's events read into a model; see LoadModel.
class Loader {
  public:
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    // taken: the characters the parser has taken so far, kept by its input.
    Loader(Model& model, const uint64_t& taken) : m_model(model), m_taken(taken) {
        m_frames.push_back(Frame{Place::Top});
    }

    bool null() { return OnOther(Json(nullptr)); }
    bool boolean(bool value) { return OnOther(Json(value)); }
    bool number_integer(number_integer_t value) { return OnOther(Json(value)); }
    bool number_unsigned(number_unsigned_t value) { return OnOther(Json(value)); }
    bool number_float(number_float_t value, const string_t&) { return OnOther(Json(value)); }
    bool string(string_t& value) {
        const Scalar scalar{&value, nullptr};
        return OnValue(&scalar, false);
    }
    bool binary(binary_t&) { return true; }
    bool start_object(std::size_t) { return Nest() && OnValue(nullptr, true); }
    bool start_array(std::size_t) { return Nest() && OnValue(nullptr, false); }
    bool key(string_t& key) { return OnKey(key); }
    bool end_object() { return Unnest() && OnEnd(); }
    bool end_array() { return Unnest() && OnEnd(); }
    bool parse_error(std::size_t, const std::string&, const Json::exception& error) {
        m_problem = std::string("bad JSON: ") + error.what();
        return false;
    }

    // After a parse without syntax errors: the database's members, the repeated note IDs and
    // UNIDs, and the first damaged note. False, with problem set, for the first fault.
    bool Finish(std::string& problem);

    const std::string& SyntaxProblem() const { return m_problem; }

  private:
    // Where in the document a value stands.
    enum class Place : uint8_t {
        Top,      // the document itself
        Root,     // a member of the database object
        Notes,    // an entry of "notes"
        Note,     // a member of a note
        Items,    // an entry of a note's "items"
        Pair,     // an entry of an item's [name, value] pair
        TextList, // an entry of a text-list value
        Skip,     // inside a value that nothing reads
        Capture,  // inside a value built as a tree
    };

    // The member a key names.
    enum class Field : uint8_t { None, Title, ReplicaId, DbId, Notes, NoteId, Unid, Class, Items };

    // An open array or object.
    struct Frame {
        Place place;               // what its entries are
        Field field = Field::None; // Root, Note: the member whose value comes next
        size_t count = 0;          // Notes, Items, Pair: entries so far
    };

    // The note being read.
    struct NoteState {
        size_t position = 0;     // in "notes"
        bool idGiven = false;    // "noteId" given
        bool idValid = false;    // ... as a number from 1 to 4294967295
        uint64_t id = 0;         // ... and its value
        Member unid;             // "unid"
        Member noteClass;        // "class"
        bool itemsGiven = false; // "items" given
        bool itemsList = false;  // ... as a list
        bool itemFailed = false; // an item is damaged
        std::string itemProblem; // the first damaged item's problem
    };

    // The [name, value] pair being read.
    struct PairState {
        size_t index = 0;      // in "items"
        bool nameText = false; // its first entry is a text
        std::string name;      // ... that text (UTF-8)
        bool failed = false;   // its value is damaged
        std::string problem;   // ... how
        Value value;           // its value
    };

    Frame& Top() { return m_frames.back(); }
    void Push(Place place) { m_frames.push_back(Frame{place}); }

    std::string NoteWhere() const { return "note " + std::to_string(m_note.position + 1); }
    // Where the parser stands: an item, a note or the database.
    std::string Where() const;
    // One more array or object is open; false, with the problem set, when that is too many.
    bool Nest();
    bool Unnest() {
        --m_depth;
        return true;
    }
    std::string ValueWhere() const { return NoteWhere() + ", item \"" + m_pair.name + "\""; }
    void ValueProblem(const std::string& problem);
    void NoteProblem(const std::string& problem);
    void ItemProblem(const std::string& problem);
    void ResetNotes();
    void ResetItems();
    void ReadScalarValue(const Scalar& scalar);
    void ReadCaptured();
    void EndNote();
    void EndPair();

    // A value begins: scalar, or an object (object) or array that stays open until its end.
    bool OnValue(const Scalar* scalar, bool object);
    bool OnOther(const Json& value) {
        const Scalar scalar{nullptr, &value};
        return OnValue(&scalar, false);
    }
    bool OnKey(const std::string& key);
    bool OnEnd();

    Model& m_model;              // what is read into
    const uint64_t& m_taken;     // characters the parser has taken
    size_t m_depth = 0;          // arrays and objects open
    uint64_t m_noteStart = 0;    // the offset of the opening brace of the note being read
    std::vector<Frame> m_frames; // the open arrays and objects, outermost first
    TreeBuilder m_tree;          // the value being built as a tree
    std::string m_problem;       // the syntax error or the level too deep, when there was one

    bool m_rootObject = false;     // the document is an object
    Member m_title;                // "title"
    Member m_replicaId;            // "replicaId"
    Member m_dbId;                 // "dbId"
    bool m_notesGiven = false;     // "notes" given
    bool m_notesList = false;      // ... as a list
    bool m_noteFailed = false;     // a note of it is damaged; the later ones are not read
    std::string m_noteProblem;     // the first damaged note's problem
    std::vector<size_t> m_derived; // positions of the notes whose UNID derives from the position

    NoteState m_note;                  // the note being read
    PairState m_pair;                  // the pair being read
    std::string m_name;                // scratch: an item name in LMBCS
    std::vector<uint32_t> m_lastNames; // the name numbers of the previous note's items
};

void Loader::ValueProblem(const std::string& problem) {
    if (!m_pair.failed) {
        m_pair.failed = true;
        m_pair.problem = problem;
    }
}

void Loader::NoteProblem(const std::string& problem) {
    if (!m_noteFailed) {
        m_noteFailed = true;
        m_noteProblem = problem;
    }
}

void Loader::ItemProblem(const std::string& problem) {
    if (!m_note.itemFailed) {
        m_note.itemFailed = true;
        m_note.itemProblem = problem;
    }
}

std::string Loader::Where() const {
    for (auto frame = m_frames.rbegin(); frame != m_frames.rend(); ++frame) {
        if (frame->place == Place::Pair || frame->place == Place::TextList ||
            frame->place == Place::Capture)
            return NoteWhere() + ", item " + std::to_string(m_pair.index + 1);
        if (frame->place == Place::Note || frame->place == Place::Items)
            return NoteWhere();
    }
    return "database";
}

bool Loader::Nest() {
    if (++m_depth <= kMaxNesting)
        return true;
    m_problem = Where() + ": nested deeper than " + std::to_string(kMaxNesting) +
                " arrays and objects at byte " + std::to_string(m_taken);
    return false;
}

void Loader::ResetNotes() {
    m_model.ClearNotes();
    m_model.layout.notes.clear();
    m_derived.clear();
    m_noteFailed = false;
    m_noteProblem.clear();
}

void Loader::ResetItems() {
    m_model.DropPendingItems();
    m_note.itemFailed = false;
    m_note.itemProblem.clear();
}

void Loader::ReadScalarValue(const Scalar& scalar) {
    Value& value = m_pair.value;
    value.data.clear();
    if (scalar.text != nullptr) {
        value.kind = ValueKind::Text;
        value.type = TYPE_TEXT;
        AppendLmbcsOfUtf8(value.data, *scalar.text);
    } else if (scalar.value->is_number()) {
        value.kind = ValueKind::Number;
        value.type = TYPE_NUMBER;
        const double number = scalar.value->get<double>();
        value.data.append(reinterpret_cast<const char*>(&number), sizeof number);
    } else {
        ValueProblem(ValueWhere() + ": value of unknown kind " + scalar.value->dump());
    }
}

// A tree built for an item value (an object) or for a text-list entry that is not a text.
void Loader::ReadCaptured() {
    if (Top().place == Place::TextList) {
        ValueProblem(ValueWhere() + ": text list entry of unknown kind " + m_tree.Tree().dump());
        return;
    }
    try {
        ReadObjectValue(m_tree.Tree(), m_pair.value, ValueWhere());
    } catch (const LoadError& error) {
        ValueProblem(error.what());
    }
}

void Loader::EndNote() {
    const NoteState& note = m_note;
    const std::string where = NoteWhere() + ": ";
    NoteRecord record;
    record.noteId = static_cast<NOTEID>(4 * (note.position + 1));
    if (note.idGiven) {
        if (!note.idValid)
            return NoteProblem(where + "\"noteId\" is not a number from 1 to 4294967295");
        record.noteId = static_cast<NOTEID>(note.id);
    }
    if (note.unid.present) {
        if (!note.unid.text)
            return NoteProblem(where + "\"unid\" is not a text");
        if (!UnidFromHex(note.unid.value, record.unid))
            return NoteProblem(where + "\"unid\" is not 32 hexadecimal digits");
    }
    if (note.noteClass.present) {
        if (!note.noteClass.text)
            return NoteProblem(where + "\"class\" is not a text");
        if (note.noteClass.value == "view")
            record.noteClass = NOTE_CLASS_VIEW;
        else if (note.noteClass.value != "document")
            return NoteProblem(where + "unknown class \"" + note.noteClass.value + "\"");
    }
    if (note.itemsGiven && !note.itemsList)
        return NoteProblem(where + "\"items\" is not a list");
    if (note.itemFailed)
        return NoteProblem(note.itemProblem);
    if (!note.unid.present)
        m_derived.push_back(m_model.Notes().size());
    m_model.AddNote(record);
    m_model.layout.notes.push_back(TextSpan{m_noteStart, m_taken});
}

void Loader::EndPair() {
    const PairState& pair = m_pair;
    if (Top().count != 2 || !pair.nameText)
        return ItemProblem(NoteWhere() + ", item " + std::to_string(pair.index + 1) +
                           ": not a [name, value] pair");
    if (pair.failed)
        return ItemProblem(pair.problem);
    m_name.clear();
    AppendLmbcsOfUtf8(m_name, pair.name);
    // Notes of one form mostly repeat the previous note's names in the same order.
    const size_t slot = m_model.PendingItems();
    uint32_t name;
    if (slot < m_lastNames.size() && m_model.NameOf(m_lastNames[slot]) == m_name) {
        name = m_lastNames[slot];
    } else {
        name = m_model.InternName(m_name);
        if (slot >= m_lastNames.size())
            m_lastNames.resize(slot + 1);
        m_lastNames[slot] = name;
    }
    Value& value = m_pair.value;
    if (value.kind == ValueKind::Mime)
        m_model.AddMimeItem(name, value.type, std::move(value.mime));
    else if (value.kind == ValueKind::File)
        m_model.AddFileItem(name, value.type, std::move(value.file));
    else
        m_model.AddItem(name, value.kind, value.type, value.data);
}

bool Loader::OnValue(const Scalar* scalar, bool object) {
    Frame& frame = Top();
    const bool isText = scalar != nullptr && scalar->text != nullptr;
    const bool isList = scalar == nullptr && !object;
    // A member as given: present, and a text or not.
    const auto given = [&] { return Member{true, isText, isText ? *scalar->text : std::string()}; };
    switch (frame.place) {
    case Place::Top:
        m_rootObject = scalar == nullptr && object;
        if (m_rootObject) {
            Push(Place::Root);
            return true;
        }
        break;
    case Place::Skip:
        break;
    case Place::Capture:
        if (scalar != nullptr)
            m_tree.Value(scalar->ToJson());
        else
            m_tree.Start(object);
        return true;
    case Place::Root:
        if (frame.field == Field::Title) {
            m_title = given();
        } else if (frame.field == Field::ReplicaId) {
            m_replicaId = given();
        } else if (frame.field == Field::DbId) {
            m_dbId = given();
        } else if (frame.field == Field::Notes) {
            m_notesGiven = true;
            m_notesList = isList;
            ResetNotes();
            if (isList) {
                m_model.layout.notesList.begin = m_taken - 1;
                Push(Place::Notes);
                return true;
            }
        }
        break;
    case Place::Notes:
        if (m_noteFailed)
            break;
        m_note = NoteState();
        m_note.position = frame.count++;
        if (scalar == nullptr && object) {
            m_noteStart = m_taken - 1;
            Push(Place::Note);
            return true;
        }
        NoteProblem(NoteWhere() + ": not an object");
        break;
    case Place::Note:
        if (frame.field == Field::NoteId) {
            m_note.idGiven = true;
            m_note.idValid = scalar != nullptr && scalar->value != nullptr &&
                             scalar->value->is_number_unsigned() &&
                             scalar->value->get<uint64_t>() != 0 &&
                             scalar->value->get<uint64_t>() <= 0xFFFFFFFFu;
            m_note.id = m_note.idValid ? scalar->value->get<uint64_t>() : 0;
        } else if (frame.field == Field::Unid) {
            m_note.unid = given();
        } else if (frame.field == Field::Class) {
            m_note.noteClass = given();
        } else if (frame.field == Field::Items) {
            m_note.itemsGiven = true;
            m_note.itemsList = isList;
            ResetItems();
            if (isList) {
                Push(Place::Items);
                return true;
            }
        }
        break;
    case Place::Items:
        if (m_note.itemFailed)
            break;
        if (isList) {
            m_pair.index = frame.count++;
            m_pair.nameText = false;
            m_pair.failed = false;
            Push(Place::Pair);
            return true;
        }
        ItemProblem(NoteWhere() + ", item " + std::to_string(++frame.count) +
                    ": not a [name, value] pair");
        break;
    case Place::Pair: {
        const size_t entry = frame.count++;
        if (entry == 0) {
            m_pair.nameText = isText;
            if (isText)
                m_pair.name = *scalar->text;
        } else if (entry == 1 && m_pair.nameText) {
            if (scalar != nullptr) {
                ReadScalarValue(*scalar);
            } else if (object) {
                Push(Place::Capture);
                m_tree.Start(true);
                return true;
            } else {
                m_pair.value.kind = ValueKind::TextList;
                m_pair.value.type = TYPE_TEXT_LIST;
                m_pair.value.data.clear();
                Push(Place::TextList);
                return true;
            }
        }
        break;
    }
    case Place::TextList:
        if (m_pair.failed)
            break;
        if (isText) {
            AppendTextRecord(m_pair.value.data, *scalar->text);
        } else if (scalar != nullptr) {
            ValueProblem(ValueWhere() + ": text list entry of unknown kind " +
                         scalar->value->dump());
        } else {
            Push(Place::Capture);
            m_tree.Start(object);
            return true;
        }
        break;
    }
    if (scalar == nullptr)
        Push(Place::Skip);
    return true;
}

bool Loader::OnKey(const std::string& key) {
    Frame& frame = Top();
    if (frame.place == Place::Capture) {
        m_tree.Key(key);
    } else if (frame.place == Place::Root) {
        frame.field = key == "title"       ? Field::Title
                      : key == "replicaId" ? Field::ReplicaId
                      : key == "dbId"      ? Field::DbId
                      : key == "notes"     ? Field::Notes
                                           : Field::None;
    } else if (frame.place == Place::Note) {
        frame.field = key == "noteId"  ? Field::NoteId
                      : key == "unid"  ? Field::Unid
                      : key == "class" ? Field::Class
                      : key == "items" ? Field::Items
                                       : Field::None;
    }
    return true;
}

bool Loader::OnEnd() {
    if (Top().place == Place::Capture) {
        if (!m_tree.End())
            return true;
        m_frames.pop_back();
        ReadCaptured();
        return true;
    }
    const Place place = Top().place;
    if (place == Place::Pair)
        EndPair();
    else if (place == Place::Notes)
        m_model.layout.notesList.end = m_taken;
    else if (place == Place::Root)
        m_model.layout.rootEnd = m_taken - 1;
    m_frames.pop_back();
    if (place == Place::Note)
        EndNote();
    return true;
}

bool Loader::Finish(std::string& problem) {
    const std::string where = "database: ";
    if (!m_rootObject) {
        problem = where + "not a JSON object";
        return false;
    }
    if (m_title.present) {
        if (!m_title.text) {
            problem = where + "\"title\" is not a text";
            return false;
        }
        m_model.title = Utf8ToLmbcs(m_title.value);
    }
    const auto readId = [&](const char* key, const Member& member, TIMEDATE& id) {
        if (member.present && (!member.text || !IdFromHex(member.value, id))) {
            problem = where + "\"" + key + "\" is not 16 hexadecimal digits";
            return false;
        }
        return true;
    };
    if (!readId("replicaId", m_replicaId, m_model.replicaId) ||
        !readId("dbId", m_dbId, m_model.dbId))
        return false;
    if (m_notesGiven && !m_notesList) {
        problem = where + "\"notes\" is not a list";
        return false;
    }
    m_model.layout.notesGiven = m_notesGiven;
    for (const size_t position : m_derived) {
        UNID unid;
        unid.File.Innards[1] = m_model.replicaId.Innards[0];
        unid.File.Innards[0] = m_model.replicaId.Innards[1];
        unid.Note.Innards[1] = static_cast<uint32_t>(static_cast<uint64_t>(position) >> 32);
        unid.Note.Innards[0] = static_cast<uint32_t>(position);
        m_model.SetUnid(position, unid);
    }
    if (!IndexFileNotes(m_model, problem))
        return false;
    if (m_noteFailed) {
        // Problems are C texts: a NUL that a name or class of the file brought in ends them.
        problem = m_noteProblem.c_str();
        return false;
    }
    return true;
}

template <typename Input> bool Load(Model& model, std::string& problem, Input& input) {
    Loader loader(model, input.Taken());
    model.layout = FileLayout();
    if (!Json::sax_parse(input.begin(), input.end(), &loader)) {
        problem = loader.SyntaxProblem();
        return false;
    }
    model.layout.size = input.Size();
    model.layout.hash = input.Hash();
    return loader.Finish(problem);
}

} // namespace

bool IndexFileNotes(Model& model, std::string& problem) {
    size_t repeatedId;
    size_t repeatedUnid;
    model.IndexNotes(repeatedId, repeatedUnid);
    const std::vector<NoteRecord>& notes = model.Notes();
    if (repeatedId < notes.size() && repeatedId <= repeatedUnid) {
        problem = "note " + std::to_string(repeatedId + 1) + ": duplicate note ID " +
                  std::to_string(notes[repeatedId].noteId);
        return false;
    }
    if (repeatedUnid < notes.size()) {
        problem = "note " + std::to_string(repeatedUnid + 1) + ": duplicate UNID " +
                  UnidToHex(notes[repeatedUnid].unid);
        return false;
    }
    return true;
}

bool LoadModel(std::istream& stream, Model& model, std::string& problem) {
    const auto input = std::make_unique<StreamInput>(stream);
    return Load(model, problem, *input);
}

bool LoadModel(const std::string& text, Model& model, std::string& problem) {
    model.Reserve(text.size());
    TextInput input(text);
    return Load(model, problem, input);
}

bool ParseDatabase(const std::string& text, Database& db, std::string& problem) {
    Model model;
    if (!LoadModel(text, model, problem))
        return false;
    db = ExpandModel(model);
    return true;
}

} // namespace notesrt
