// The $Users view of an address book.
#include "users_view.h"

#include "asciicase.h"
#include "casefold.h"
#include "items.h"
#include "paths.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace notesrt {
namespace {

// The text values of the note's first item named name: its text, or the entries of its text
// list; none for a missing item or one of another type.
std::vector<std::string> TextValues(const Note& note, std::string_view name) {
    size_t position;
    if (!FindItem(note, name, 0, position))
        return {};
    const Item& item = note.items[position];
    if (item.kind == ValueKind::Text)
        return {item.text};
    if (item.kind == ValueKind::TextList)
        return item.texts;
    return {};
}

bool IsPerson(const Note& note) {
    if (note.noteClass != NOTE_CLASS_DOCUMENT)
        return false;
    for (const std::string& form : TextValues(note, "Form")) {
        if (EqualsIgnoringCase(form, "Person"))
            return true;
    }
    return false;
}

bool IsCanonical(const std::string& name) {
    return name.size() > 3 && EqualsIgnoringCase(std::string_view(name).substr(0, 3), "CN=");
}

// The first value of the item, or an empty text.
std::string FirstValue(const Note& note, std::string_view name) {
    const std::vector<std::string> values = TextValues(note, name);
    return values.empty() ? std::string() : values.front();
}

std::set<std::string> KeysOfPerson(const Note& note) {
    std::set<std::string> keys;
    for (const std::string& name : TextValues(note, "FullName")) {
        keys.insert(name);
        if (IsCanonical(name))
            keys.insert(CommonName(name));
    }
    for (const char* item : {"ShortName", "InternetAddress"}) {
        for (const std::string& value : TextValues(note, item))
            keys.insert(value);
    }
    const std::string first = FirstValue(note, "FirstName");
    const std::string last = FirstValue(note, "LastName");
    keys.insert(first.empty() || last.empty() ? first + last : first + " " + last);
    keys.erase(std::string());
    return keys;
}

bool Before(const ViewEntry& a, const ViewEntry& b) {
    return std::tie(a.folded, a.key, a.noteId) < std::tie(b.folded, b.key, b.noteId);
}

} // namespace

ViewEntries UsersViewEntries(const Database& db) {
    ViewEntries entries;
    for (const Note& note : db.notes) {
        if (!IsPerson(note))
            continue;
        for (const std::string& key : KeysOfPerson(note))
            entries.push_back(ViewEntry{FoldedText(key), key, note.noteId});
    }
    std::sort(entries.begin(), entries.end(), Before);
    return entries;
}

void FindEntries(const ViewEntries& entries, std::string_view key, bool partial, bool caseSensitive,
                 size_t& first, size_t& count) {
    const std::u32string folded = FoldedText(key);
    const auto start = std::lower_bound(
        entries.begin(), entries.end(), folded,
        [](const ViewEntry& entry, const std::u32string& text) { return entry.folded < text; });
    auto end = start;
    while (end != entries.end() &&
           (partial ? end->folded.compare(0, folded.size(), folded) == 0 : end->folded == folded))
        ++end;
    auto match = start;
    if (caseSensitive) {
        match = std::find_if(start, end, [&](const ViewEntry& entry) { return entry.key == key; });
        end = std::find_if(match, end, [&](const ViewEntry& entry) { return entry.key != key; });
    }
    first = static_cast<size_t>(match - entries.begin());
    count = static_cast<size_t>(end - match);
}

std::shared_ptr<const ViewEntries> UsersViewCache::EntriesOf(const std::shared_ptr<Database>& db) {
    for (auto cached = m_views.begin(); cached != m_views.end();) {
        if (cached->second.db.expired())
            cached = m_views.erase(cached);
        else
            ++cached;
    }
    CachedView& cached = m_views[db.get()];
    if (!cached.entries) {
        cached.db = db;
        cached.entries = std::make_shared<const ViewEntries>(UsersViewEntries(*db));
    }
    return cached.entries;
}

} // namespace notesrt
