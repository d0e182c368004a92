// The database model: notes and items in compact form, and their plain form.
#include "model.h"

#include "asciicase.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <tuple>
#include <utility>

namespace notesrt {
namespace {

template <typename T> T ReadAt(std::string_view data, size_t index) {
    T value;
    std::memcpy(&value, data.data() + index * sizeof value, sizeof value);
    return value;
}

template <typename T> void AppendRaw(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The stored form of a plain item kept in the arena.
std::string StoredForm(const Item& item) {
    std::string data;
    switch (item.kind) {
    case ValueKind::Text:
        return item.text;
    case ValueKind::TextList:
    case ValueKind::RichText:
        for (const std::string& text : item.texts)
            AppendText(data, text);
        return data;
    case ValueKind::Number:
        AppendRaw(data, item.number);
        return data;
    case ValueKind::Time:
    case ValueKind::TimeList:
        for (const TIMEDATE& time : item.times)
            AppendRaw(data, time);
        return data;
    case ValueKind::Raw:
        return item.raw;
    case ValueKind::Mime:
    case ValueKind::File:
        break;
    }
    return data;
}

} // namespace

UnidKey KeyOfUnid(const UNID& unid) {
    return {unid.File.Innards[1], unid.File.Innards[0], unid.Note.Innards[1], unid.Note.Innards[0]};
}

UNID UnidOfNote(const Note& note) {
    UNID unid;
    unid.File = note.oid.File;
    unid.Note = note.oid.Note;
    return unid;
}

bool NextText(std::string_view& records, std::string_view& text) {
    uint32_t length;
    if (records.size() < sizeof length)
        return false;
    std::memcpy(&length, records.data(), sizeof length);
    if (records.size() - sizeof length < length)
        return false;
    text = records.substr(sizeof length, length);
    records.remove_prefix(sizeof length + length);
    return true;
}

bool WholeTexts(std::string_view records) {
    std::string_view text;
    while (NextText(records, text))
        continue;
    return records.empty();
}

void AppendText(std::string& records, std::string_view text) {
    AppendRaw(records, static_cast<uint32_t>(text.size()));
    records.append(text);
}

size_t TimeCount(const ItemView& item) {
    return item.data.size() / sizeof(TIMEDATE);
}

TIMEDATE TimeAt(const ItemView& item, size_t index) {
    return ReadAt<TIMEDATE>(item.data, index);
}

double NumberOf(const ItemView& item) {
    return item.data.size() < sizeof(double) ? 0 : ReadAt<double>(item.data, 0);
}

ORIGINATORID OidOf(const NoteRecord& note) {
    ORIGINATORID oid = {};
    oid.File = note.unid.File;
    oid.Note = note.unid.Note;
    oid.Sequence = 1;
    oid.SequenceTime = note.unid.Note;
    return oid;
}

bool Model::FindById(NOTEID noteId, size_t& position) const {
    const auto found =
        std::lower_bound(m_byId.begin(), m_byId.end(), noteId,
                         [this](uint32_t at, NOTEID id) { return m_notes[at].noteId < id; });
    if (found == m_byId.end() || m_notes[*found].noteId != noteId)
        return false;
    position = *found;
    return true;
}

bool Model::FindByUnid(const UNID& unid, size_t& position) const {
    const auto found = std::lower_bound(m_byUnid.begin(), m_byUnid.end(), unid,
                                        [this](uint32_t at, const UNID& key) {
                                            return KeyOfUnid(m_notes[at].unid) < KeyOfUnid(key);
                                        });
    if (found == m_byUnid.end() || KeyOfUnid(m_notes[*found].unid) != KeyOfUnid(unid))
        return false;
    position = *found;
    return true;
}

ItemView Model::ItemAt(const NoteRecord& note, size_t position, bool rawMime) const {
    const ItemRecord& record = m_items[note.firstItem + position];
    ItemView item;
    item.name = record.name;
    item.kind = record.kind;
    item.type = record.type;
    if (record.kind == ValueKind::Mime) {
        const MimeValue& mime = m_mimes[record.offset];
        if (rawMime) {
            item.mime = &mime.root;
        } else {
            item.kind = ValueKind::RichText;
            item.type = TYPE_COMPOSITE;
            item.data = mime.richText;
        }
    } else if (record.kind == ValueKind::File) {
        item.file = &m_files[record.offset];
    } else {
        item.data = std::string_view(m_arena).substr(record.offset, record.size);
    }
    return item;
}

bool Model::FoldedName(std::string_view name, uint32_t& folded) const {
    const auto found = m_foldedIds.find(LowerAscii(std::string(name)));
    if (found == m_foldedIds.end())
        return false;
    folded = found->second;
    return true;
}

bool Model::FindItem(const NoteRecord& note, uint32_t folded, size_t from, size_t& position) const {
    for (size_t i = from; i < note.itemCount; ++i) {
        if (m_names[m_items[note.firstItem + i].name].folded == folded) {
            position = i;
            return true;
        }
    }
    return false;
}

bool Model::FindItem(const NoteRecord& note, std::string_view name, size_t from,
                     size_t& position) const {
    uint32_t folded;
    return FoldedName(name, folded) && FindItem(note, folded, from, position);
}

uint32_t Model::InternName(std::string_view name) {
    std::string text(name);
    const auto known = m_nameIds.find(text);
    if (known != m_nameIds.end())
        return known->second;
    const auto folded =
        m_foldedIds.emplace(LowerAscii(text), static_cast<uint32_t>(m_foldedIds.size())).first;
    const auto number = static_cast<uint32_t>(m_names.size());
    m_names.push_back(NameRecord{text, folded->second});
    m_nameIds.emplace(std::move(text), number);
    return number;
}

Model::ItemRecord Model::Stored(uint32_t name, ValueKind kind, uint16_t type,
                                std::string_view data) {
    if (m_arena.size() + data.size() > std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    const ItemRecord record = {static_cast<uint32_t>(m_arena.size()),
                               static_cast<uint32_t>(data.size()), name, type, kind};
    m_arena.append(data);
    return record;
}

Model::ItemRecord Model::Encode(const Item& item) {
    const uint32_t name = InternName(item.name);
    if (item.kind == ValueKind::Mime) {
        m_mimes.push_back(MimeValue{item.mime, RichTextOfMime(item.mime)});
        return ItemRecord{static_cast<uint32_t>(m_mimes.size() - 1), 0, name, item.type, item.kind};
    }
    if (item.kind == ValueKind::File) {
        m_files.push_back(item.file);
        return ItemRecord{static_cast<uint32_t>(m_files.size() - 1), 0, name, item.type, item.kind};
    }
    return Stored(name, item.kind, item.type, StoredForm(item));
}

void Model::AddItem(uint32_t name, ValueKind kind, uint16_t type, std::string_view data) {
    m_items.push_back(Stored(name, kind, type, data));
}

void Model::AddMimeItem(uint32_t name, uint16_t type, MimeEntity root) {
    std::string richText = RichTextOfMime(root);
    m_mimes.push_back(MimeValue{std::move(root), std::move(richText)});
    m_items.push_back(
        ItemRecord{static_cast<uint32_t>(m_mimes.size() - 1), 0, name, type, ValueKind::Mime});
}

void Model::AddFileItem(uint32_t name, uint16_t type, FileObject file) {
    m_files.push_back(std::move(file));
    m_items.push_back(
        ItemRecord{static_cast<uint32_t>(m_files.size() - 1), 0, name, type, ValueKind::File});
}

void Model::AddNote(NoteRecord note) {
    note.firstItem = static_cast<uint32_t>(m_committedItems);
    note.itemCount = static_cast<uint32_t>(m_items.size() - m_committedItems);
    m_notes.push_back(note);
    m_committedItems = m_items.size();
}

void Model::AddItemsOf(const Model& source, const NoteRecord& note) {
    for (size_t position = 0; position < note.itemCount; ++position) {
        const ItemView item = source.ItemAt(note, position);
        const uint32_t name = InternName(source.NameOf(item.name));
        if (item.kind == ValueKind::Mime)
            AddMimeItem(name, item.type, *item.mime);
        else if (item.kind == ValueKind::File)
            AddFileItem(name, item.type, *item.file);
        else
            AddItem(name, item.kind, item.type, item.data);
    }
}

void Model::PutNote(size_t position, NoteRecord note) {
    usersView.reset();
    calendar.reset();
    if (position == m_notes.size())
        return AddNote(note);
    note.firstItem = static_cast<uint32_t>(m_committedItems);
    note.itemCount = static_cast<uint32_t>(m_items.size() - m_committedItems);
    m_notes[position] = note;
    m_committedItems = m_items.size();
}

void Model::ClearNotes() {
    m_notes.clear();
    m_items.clear();
    m_committedItems = 0;
    m_arena.clear();
    m_mimes.clear();
    m_files.clear();
}

void Model::IndexNotes(size_t& firstRepeatedId, size_t& firstRepeatedUnid) {
    const size_t count = m_notes.size();
    // Keys sorted with the positions that break ties: among notes of one key the first stands
    // first, and every later one repeats it.
    std::vector<uint64_t> ids(count);
    std::vector<std::tuple<uint64_t, uint64_t, uint32_t>> unids(count);
    for (size_t i = 0; i < count; ++i) {
        const UnidKey key = KeyOfUnid(m_notes[i].unid);
        ids[i] = (static_cast<uint64_t>(m_notes[i].noteId) << 32) | i;
        unids[i] = {(static_cast<uint64_t>(key[0]) << 32) | key[1],
                    (static_cast<uint64_t>(key[2]) << 32) | key[3], static_cast<uint32_t>(i)};
    }
    std::sort(ids.begin(), ids.end());
    std::sort(unids.begin(), unids.end());
    m_byId.resize(count);
    m_byUnid.resize(count);
    firstRepeatedId = count;
    firstRepeatedUnid = count;
    for (size_t i = 0; i < count; ++i) {
        m_byId[i] = static_cast<uint32_t>(ids[i]);
        m_byUnid[i] = std::get<2>(unids[i]);
        if (i > 0 && ids[i] >> 32 == ids[i - 1] >> 32)
            firstRepeatedId = std::min<size_t>(firstRepeatedId, m_byId[i]);
        if (i > 0 && std::get<0>(unids[i]) == std::get<0>(unids[i - 1]) &&
            std::get<1>(unids[i]) == std::get<1>(unids[i - 1]))
            firstRepeatedUnid = std::min<size_t>(firstRepeatedUnid, m_byUnid[i]);
    }
}

void Model::Reserve(size_t fileBytes) {
    m_arena.reserve(fileBytes / 2);
    m_items.reserve(fileBytes / 32);
    m_notes.reserve(fileBytes / 256);
}

size_t Model::PutItem(const Item& item) {
    NoteRecord& note = m_notes.front();
    size_t place = note.itemCount;
    FindItem(note, item.name, 0, place);
    const ItemRecord record = Encode(item);
    const auto at = [&](size_t position) {
        return m_items.begin() + static_cast<std::ptrdiff_t>(note.firstItem + position);
    };
    for (size_t position = note.itemCount; position-- > place;) {
        if (EqualsIgnoringCase(NameOf(at(position)->name), item.name))
            m_items.erase(at(position));
    }
    m_items.insert(at(place), record);
    note.itemCount = static_cast<uint32_t>(m_items.size() - note.firstItem);
    m_committedItems = m_items.size();
    return place;
}

std::shared_ptr<Model> EmptyNoteModel() {
    auto model = std::make_shared<Model>();
    model->AddNote(NoteRecord{});
    return model;
}

std::shared_ptr<Model> CopyOfNote(const Model& source, const NoteRecord& note) {
    auto copy = std::make_shared<Model>();
    copy->AddItemsOf(source, note);
    copy->AddNote(note);
    return copy;
}

Item ExpandItem(const Model& model, const ItemView& view) {
    Item item;
    item.name = std::string(model.NameOf(view.name));
    item.kind = view.kind;
    item.type = view.type;
    switch (view.kind) {
    case ValueKind::Text:
        item.text = std::string(view.data);
        break;
    case ValueKind::TextList:
    case ValueKind::RichText: {
        std::string_view records = view.data;
        std::string_view text;
        while (NextText(records, text))
            item.texts.emplace_back(text);
        break;
    }
    case ValueKind::Number:
        item.number = NumberOf(view);
        break;
    case ValueKind::Time:
    case ValueKind::TimeList:
        for (size_t i = 0; i < TimeCount(view); ++i)
            item.times.push_back(TimeAt(view, i));
        break;
    case ValueKind::Mime:
        item.mime = *view.mime;
        break;
    case ValueKind::File:
        item.file = *view.file;
        break;
    case ValueKind::Raw:
        item.raw = std::string(view.data);
        break;
    }
    return item;
}

Database ExpandModel(const Model& model) {
    Database db;
    db.title = model.title;
    db.replicaId = model.replicaId;
    db.dbId = model.dbId;
    for (const NoteRecord& record : model.Notes()) {
        Note note;
        note.noteId = record.noteId;
        note.oid = OidOf(record);
        note.noteClass = record.noteClass;
        for (size_t position = 0; position < record.itemCount; ++position)
            note.items.push_back(ExpandItem(model, model.ItemAt(record, position)));
        db.noteIndexById.emplace(note.noteId, db.notes.size());
        db.noteIndexByUnid.emplace(KeyOfUnid(record.unid), db.notes.size());
        db.notes.push_back(std::move(note));
    }
    return db;
}

} // namespace notesrt
