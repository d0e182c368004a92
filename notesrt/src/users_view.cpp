// The $Users view of an address book.
#include "users_view.h"

#include "asciicase.h"
#include "casefold.h"

#include <algorithm>
#include <limits>
#include <new>

namespace notesrt {
namespace {

// The item numbers a person's keys come from; absent when no item of the model has the name.
struct PersonItems {
    explicit PersonItems(const Model& model) {
        for (size_t i = 0; i < kCount; ++i)
            present[i] = model.FoldedName(kNames[i], folded[i]);
    }

    enum { kForm, kFullName, kShortName, kInternetAddress, kFirstName, kLastName, kCount };
    static constexpr const char* kNames[kCount] = {
        "Form", "FullName", "ShortName", "InternetAddress", "FirstName", "LastName"};
    uint32_t folded[kCount] = {}; // folded name numbers
    bool present[kCount] = {};    // the model has an item of that name
};

// Appends the text values of the note's first item of the folded name which: its text, or the
// entries of its text list; none for a missing item or one of another type.
void AddTextValues(const Model& model, const NoteRecord& note, const PersonItems& items, int which,
                   std::vector<std::string_view>& values) {
    size_t position;
    if (!items.present[which] || !model.FindItem(note, items.folded[which], 0, position))
        return;
    const ItemView item = model.ItemAt(note, position);
    if (item.kind == ValueKind::Text) {
        values.push_back(item.data);
    } else if (item.kind == ValueKind::TextList) {
        std::string_view records = item.data;
        std::string_view text;
        while (NextText(records, text))
            values.push_back(text);
    }
}

// The first text value of the item, or an empty text.
std::string_view FirstValue(const Model& model, const NoteRecord& note, const PersonItems& items,
                            int which, std::vector<std::string_view>& scratch) {
    scratch.clear();
    AddTextValues(model, note, items, which, scratch);
    return scratch.empty() ? std::string_view() : scratch.front();
}

bool IsPerson(const Model& model, const NoteRecord& note, const PersonItems& items,
              std::vector<std::string_view>& scratch) {
    if (note.noteClass != NOTE_CLASS_DOCUMENT)
        return false;
    scratch.clear();
    AddTextValues(model, note, items, PersonItems::kForm, scratch);
    return std::any_of(scratch.begin(), scratch.end(),
                       [](std::string_view form) { return EqualsIgnoringCase(form, "Person"); });
}

bool IsCanonical(std::string_view name) {
    return name.size() > 3 && EqualsIgnoringCase(name.substr(0, 3), "CN=");
}

// True when every byte of key is printable ASCII, so its folded form is its bytes with A-Z
// made lower case.
bool IsPlainAscii(std::string_view key) {
    return std::all_of(key.begin(), key.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x80;
    });
}

uint64_t PrefixOf(std::string_view folded) {
    uint64_t prefix = 0;
    for (size_t i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < folded.size() ? static_cast<unsigned char>(folded[i]) : 0);
    return prefix;
}

// Calls visit(key, noteId) for each distinct non-empty key of every person of model, a
// person's keys in byte order.
template <typename Visit> void ForEachPersonKey(const Model& model, Visit visit) {
    const PersonItems items(model);
    std::vector<std::string_view> keys;
    std::vector<std::string_view> scratch;
    std::string joined;
    for (const NoteRecord& note : model.Notes()) {
        if (!IsPerson(model, note, items, scratch))
            continue;
        keys.clear();
        AddTextValues(model, note, items, PersonItems::kFullName, keys);
        const size_t names = keys.size();
        for (size_t i = 0; i < names; ++i) {
            if (IsCanonical(keys[i])) {
                const std::string_view rest = keys[i].substr(3);
                keys.push_back(rest.substr(0, rest.find('/')));
            }
        }
        AddTextValues(model, note, items, PersonItems::kShortName, keys);
        AddTextValues(model, note, items, PersonItems::kInternetAddress, keys);
        joined = std::string(FirstValue(model, note, items, PersonItems::kFirstName, scratch));
        const std::string_view last =
            FirstValue(model, note, items, PersonItems::kLastName, scratch);
        if (!joined.empty() && !last.empty())
            joined += ' ';
        joined += last;
        keys.push_back(joined);
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        for (const std::string_view key : keys) {
            if (!key.empty())
                visit(key, note.noteId);
        }
    }
}

} // namespace

ViewEntries::ViewEntries(const Model& model) {
    // Sized first, so the text and the entries are each written into one block of their size.
    size_t entries = 0, text = 0;
    ForEachPersonKey(model, [&](std::string_view key, NOTEID) {
        ++entries;
        text += (IsPlainAscii(key) ? key.size() : FoldedText(key).size()) + key.size();
    });
    m_entries.reserve(entries);
    m_text.reserve(text);
    ForEachPersonKey(model, [this](std::string_view key, NOTEID noteId) { Add(key, noteId); });
    std::sort(m_entries.begin(), m_entries.end(),
              [this](const Entry& a, const Entry& b) { return Before(a, b); });
}

void ViewEntries::Add(std::string_view key, NOTEID noteId) {
    const size_t offset = m_text.size();
    if (IsPlainAscii(key)) {
        m_text.append(key);
        for (size_t i = offset; i < m_text.size(); ++i) {
            if (m_text[i] >= 'A' && m_text[i] <= 'Z')
                m_text[i] = static_cast<char>(m_text[i] - 'A' + 'a');
        }
    } else {
        m_text.append(FoldedText(key));
    }
    const size_t foldedSize = m_text.size() - offset;
    m_text.append(key);
    if (m_text.size() > std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    const std::string_view folded = std::string_view(m_text).substr(offset, foldedSize);
    m_entries.push_back(Entry{PrefixOf(folded), static_cast<uint32_t>(offset),
                              static_cast<uint32_t>(foldedSize), static_cast<uint32_t>(key.size()),
                              noteId});
}

std::string_view ViewEntries::FoldedOf(const Entry& entry) const {
    return std::string_view(m_text).substr(entry.offset, entry.foldedSize);
}

std::string_view ViewEntries::KeyOf(const Entry& entry) const {
    return std::string_view(m_text).substr(entry.offset + entry.foldedSize, entry.keySize);
}

bool ViewEntries::Before(const Entry& a, const Entry& b) const {
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix;
    const int folded = FoldedOf(a).compare(FoldedOf(b));
    if (folded != 0)
        return folded < 0;
    const int key = KeyOf(a).compare(KeyOf(b));
    if (key != 0)
        return key < 0;
    return a.noteId < b.noteId;
}

void ViewEntries::Find(std::string_view key, bool partial, bool caseSensitive, size_t& first,
                       size_t& count) const {
    const std::string folded = FoldedText(key);
    const uint64_t prefix = PrefixOf(folded);
    const auto start = std::lower_bound(m_entries.begin(), m_entries.end(), folded,
                                        [&](const Entry& entry, const std::string& text) {
                                            if (entry.prefix != prefix)
                                                return entry.prefix < prefix;
                                            return FoldedOf(entry) < text;
                                        });
    auto end = std::partition_point(start, m_entries.end(), [&](const Entry& entry) {
        const std::string_view entryFolded = FoldedOf(entry);
        return partial ? entryFolded.substr(0, folded.size()) == folded : entryFolded == folded;
    });
    auto match = start;
    if (caseSensitive) {
        match = std::find_if(start, end, [&](const Entry& entry) { return KeyOf(entry) == key; });
        end = std::find_if(match, end, [&](const Entry& entry) { return KeyOf(entry) != key; });
    }
    first = static_cast<size_t>(match - m_entries.begin());
    count = static_cast<size_t>(end - match);
}

std::shared_ptr<const ViewEntries> UsersViewOf(const Model& model) {
    if (!model.usersView)
        model.usersView = std::make_shared<const ViewEntries>(model);
    return model.usersView;
}

} // namespace notesrt
