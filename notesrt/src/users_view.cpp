// The $Users view of an address book.
#include "users_view.h"

#include "asciicase.h"
#include "casefold.h"

#include <algorithm>
#include <cstring>
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

unsigned char LowerByte(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Orders folded keys as their characters order: -1, 0 or 1.
template <typename A, typename B> int Compare(const A& a, const B& b) {
    const size_t common = std::min(a.bytes.size(), b.bytes.size());
    for (size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a.bytes[i]);
        const auto y = static_cast<unsigned char>(b.bytes[i]);
        const unsigned char left = a.ascii ? LowerByte(x) : x;
        const unsigned char right = b.ascii ? LowerByte(y) : y;
        if (left != right)
            return left < right ? -1 : 1;
    }
    return a.bytes.size() == b.bytes.size() ? 0 : a.bytes.size() < b.bytes.size() ? -1 : 1;
}

template <typename F> uint64_t PrefixOf(const F& folded) {
    uint64_t prefix = 0;
    for (size_t i = 0; i < 8; ++i) {
        unsigned char c = 0;
        if (i < folded.bytes.size()) {
            c = static_cast<unsigned char>(folded.bytes[i]);
            c = folded.ascii ? LowerByte(c) : c;
        }
        prefix = (prefix << 8) | c;
    }
    return prefix;
}

// A folded query: the folded bytes themselves.
struct Query {
    std::string_view bytes; // the folded key
    bool ascii = false;     // never: bytes are folded already
};

} // namespace

ViewEntries::ViewEntries(const Model& model) {
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
                Add(key, note.noteId);
        }
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [this](const Entry& a, const Entry& b) { return Before(a, b); });
}

void ViewEntries::Add(std::string_view key, NOTEID noteId) {
    std::string folded;
    const bool ascii = IsPlainAscii(key);
    if (!ascii)
        folded = FoldedText(key);
    if (m_text.size() + key.size() + folded.size() + sizeof(uint32_t) >
        std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    Entry entry;
    entry.key = static_cast<uint32_t>(m_text.size());
    entry.keySize = static_cast<uint32_t>(key.size());
    entry.noteId = noteId;
    m_text.append(key);
    entry.folded = kAsciiKey;
    if (!ascii) {
        entry.folded = static_cast<uint32_t>(m_text.size());
        AppendText(m_text, folded);
    }
    entry.prefix = PrefixOf(FoldedOf(entry));
    m_entries.push_back(entry);
}

std::string_view ViewEntries::KeyOf(const Entry& entry) const {
    return std::string_view(m_text).substr(entry.key, entry.keySize);
}

ViewEntries::Folded ViewEntries::FoldedOf(const Entry& entry) const {
    if (entry.folded == kAsciiKey)
        return Folded{KeyOf(entry), true};
    std::string_view record = std::string_view(m_text).substr(entry.folded);
    std::string_view folded;
    NextText(record, folded);
    return Folded{folded, false};
}

bool ViewEntries::Before(const Entry& a, const Entry& b) const {
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix;
    const int folded = Compare(FoldedOf(a), FoldedOf(b));
    if (folded != 0)
        return folded < 0;
    const int key = KeyOf(a).compare(KeyOf(b));
    if (key != 0)
        return key < 0;
    return a.noteId < b.noteId;
}

void ViewEntries::Find(std::string_view key, bool partial, bool caseSensitive, size_t& first,
                       size_t& count) const {
    const std::string foldedKey = FoldedText(key);
    const Query query{foldedKey};
    const uint64_t prefix = PrefixOf(query);
    const auto start = std::lower_bound(m_entries.begin(), m_entries.end(), query,
                                        [&](const Entry& entry, const Query& text) {
                                            if (entry.prefix != prefix)
                                                return entry.prefix < prefix;
                                            return Compare(FoldedOf(entry), text) < 0;
                                        });
    auto end = std::partition_point(start, m_entries.end(), [&](const Entry& entry) {
        Folded folded = FoldedOf(entry);
        if (partial && folded.bytes.size() > query.bytes.size())
            folded.bytes = folded.bytes.substr(0, query.bytes.size());
        return Compare(folded, query) == 0;
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
