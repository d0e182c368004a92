// Reading a database file's JSON into the model.
#include "dbload.h"

#include "base64.h"
#include "identifiers.h"
#include "lmbcs.h"
#include "timedate.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <stdexcept>

namespace notesrt {
namespace {

using Json = nlohmann::json;

// A fault found while reading; its text becomes the problem.
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

TIMEDATE ReadTime(const Json& value, const std::string& where) {
    TIMEDATE time;
    if (!value.is_string() || !ParseIsoTime(value.get_ref<const std::string&>(), time))
        Damaged(where, "bad time " + value.dump());
    return time;
}

MimeEntity ReadMimeEntity(const Json& object, const std::string& where) {
    if (!object.is_object())
        Damaged(where, "a MIME entity is not an object");
    MimeEntity entity;
    entity.contentType =
        object.contains("contentType") ? StringField(object, "contentType", where) : "text/plain";
    if (object.contains("charset"))
        entity.charset = StringField(object, "charset", where);
    if (object.contains("attachment")) {
        if (!object.at("attachment").is_boolean())
            Damaged(where, "\"attachment\" is not true or false");
        entity.attachment = object.at("attachment").get<bool>();
    }
    if (object.contains("parts")) {
        const Json& parts = object.at("parts");
        if (!parts.is_array())
            Damaged(where, "\"parts\" is not a list");
        entity.multipart = true;
        for (size_t i = 0; i < parts.size(); ++i)
            entity.parts.push_back(
                ReadMimeEntity(parts[i], where + ", part " + std::to_string(i + 1)));
    } else if (object.contains("text")) {
        entity.data = StringField(object, "text", where);
    } else if (object.contains("base64")) {
        entity.data = Base64Field(object, where);
    }
    return entity;
}

// Reads the value of an item of the object kind: {"KIND": ...}.
void ReadObjectValue(const Json& value, Item& item, const std::string& where) {
    if (value.size() != 1)
        Damaged(where, "value of unknown kind " + value.dump());
    const std::string& kind = value.begin().key();
    const Json& body = value.begin().value();
    if (kind == "time") {
        item.kind = ValueKind::Time;
        item.type = TYPE_TIME;
        item.times.push_back(ReadTime(body, where));
    } else if (kind == "times") {
        if (!body.is_array())
            Damaged(where, "\"times\" is not a list");
        item.kind = ValueKind::TimeList;
        item.type = TYPE_TIME_RANGE;
        for (const Json& entry : body)
            item.times.push_back(ReadTime(entry, where));
    } else if (kind == "richtext") {
        if (!body.is_string())
            Damaged(where, "\"richtext\" is not a text");
        item.kind = ValueKind::RichText;
        item.type = TYPE_COMPOSITE;
        const std::string& text = body.get_ref<const std::string&>();
        size_t start = 0;
        for (;;) {
            const size_t end = text.find('\n', start);
            item.texts.push_back(Utf8ToLmbcs(text.substr(start, end - start)));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    } else if (kind == "mime") {
        item.kind = ValueKind::Mime;
        item.type = TYPE_MIME_PART;
        item.mime = ReadMimeEntity(body, where);
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
        item.raw = Base64Field(body, where);
    } else if (kind == "lmbcs") {
        if (!body.is_string() || !DecodeBase64(body.get<std::string>(), item.text))
            Damaged(where, "\"lmbcs\" is not base64");
        item.kind = ValueKind::Text;
        item.type = TYPE_TEXT;
    } else {
        Damaged(where, "value of unknown kind \"" + kind + "\"");
    }
}

Item ReadItem(const Json& pair, const std::string& noteWhere, size_t index) {
    const std::string pairWhere = noteWhere + ", item " + std::to_string(index + 1);
    if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string())
        Damaged(pairWhere, "not a [name, value] pair");
    Item item;
    const std::string& name = pair[0].get_ref<const std::string&>();
    item.name = Utf8ToLmbcs(name);
    const std::string where = noteWhere + ", item \"" + name + "\"";
    const Json& value = pair[1];
    if (value.is_string()) {
        item.kind = ValueKind::Text;
        item.type = TYPE_TEXT;
        item.text = Utf8ToLmbcs(value.get_ref<const std::string&>());
    } else if (value.is_array()) {
        item.kind = ValueKind::TextList;
        item.type = TYPE_TEXT_LIST;
        for (const Json& entry : value) {
            if (!entry.is_string())
                Damaged(where, "text list entry of unknown kind " + entry.dump());
            item.texts.push_back(Utf8ToLmbcs(entry.get_ref<const std::string&>()));
        }
    } else if (value.is_number()) {
        item.kind = ValueKind::Number;
        item.type = TYPE_NUMBER;
        item.number = value.get<double>();
    } else if (value.is_object()) {
        ReadObjectValue(value, item, where);
    } else {
        Damaged(where, "value of unknown kind " + value.dump());
    }
    return item;
}

std::string PositionHex(size_t position) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(position));
    return text;
}

std::string ReplicaHex(const TIMEDATE& id) {
    char text[17];
    std::snprintf(text, sizeof text, "%08X%08X", id.Innards[0], id.Innards[1]);
    return text;
}

void ReadNote(const Json& object, size_t position, Database& db) {
    const std::string where = "note " + std::to_string(position + 1);
    if (!object.is_object())
        Damaged(where, "not an object");
    Note note;
    if (object.contains("noteId")) {
        const Json& id = object.at("noteId");
        if (!id.is_number_unsigned() || id.get<uint64_t>() == 0 || id.get<uint64_t>() > 0xFFFFFFFFu)
            Damaged(where, "\"noteId\" is not a number from 1 to 4294967295");
        note.noteId = static_cast<NOTEID>(id.get<uint64_t>());
    } else {
        note.noteId = static_cast<NOTEID>(4 * (position + 1));
    }
    UNID unid;
    const std::string unidText = object.contains("unid")
                                     ? StringField(object, "unid", where)
                                     : ReplicaHex(db.replicaId) + PositionHex(position);
    if (!UnidFromHex(unidText, unid))
        Damaged(where, "\"unid\" is not 32 hexadecimal digits");
    note.oid.File = unid.File;
    note.oid.Note = unid.Note;
    note.oid.Sequence = 1;
    note.oid.SequenceTime = unid.Note;
    if (object.contains("class")) {
        const std::string& noteClass = StringField(object, "class", where);
        if (noteClass == "view")
            note.noteClass = NOTE_CLASS_VIEW;
        else if (noteClass != "document")
            Damaged(where, "unknown class \"" + noteClass + "\"");
    }
    if (object.contains("items")) {
        const Json& items = object.at("items");
        if (!items.is_array())
            Damaged(where, "\"items\" is not a list");
        for (size_t i = 0; i < items.size(); ++i)
            note.items.push_back(ReadItem(items[i], where, i));
    }
    if (!db.noteIndexById.emplace(note.noteId, db.notes.size()).second)
        Damaged(where, "duplicate note ID " + std::to_string(note.noteId));
    if (!db.noteIndexByUnid.emplace(KeyOfUnid(unid), db.notes.size()).second)
        Damaged(where, "duplicate UNID " + UnidToHex(unid));
    db.notes.push_back(std::move(note));
}

void ReadIdField(const Json& root, const char* key, TIMEDATE& id) {
    if (!root.contains(key))
        return;
    const Json& value = root.at(key);
    if (!value.is_string() || !IdFromHex(value.get<std::string>(), id))
        Damaged("database", std::string("\"") + key + "\" is not 16 hexadecimal digits");
}

} // namespace

bool ParseDatabase(const std::string& text, Database& db, std::string& problem) {
    try {
        Json root;
        try {
            root = Json::parse(text);
        } catch (const Json::exception& error) {
            problem = std::string("bad JSON: ") + error.what();
            return false;
        }
        if (!root.is_object())
            Damaged("database", "not a JSON object");
        db = Database();
        if (root.contains("title")) {
            if (!root.at("title").is_string())
                Damaged("database", "\"title\" is not a text");
            db.title = Utf8ToLmbcs(root.at("title").get<std::string>());
        }
        ReadIdField(root, "replicaId", db.replicaId);
        ReadIdField(root, "dbId", db.dbId);
        if (root.contains("notes")) {
            const Json& notes = root.at("notes");
            if (!notes.is_array())
                Damaged("database", "\"notes\" is not a list");
            for (size_t i = 0; i < notes.size(); ++i)
                ReadNote(notes[i], i, db);
        }
        return true;
    } catch (const LoadError& error) {
        problem = error.what();
        return false;
    } catch (const Json::exception& error) {
        problem = error.what();
        return false;
    }
}

} // namespace notesrt
