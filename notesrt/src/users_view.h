// The entries of the $Users view of an address book, and the matching of keys against them.
#pragma once

#include "database.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace notesrt {

// One entry of a view: a key and the document it stands for.
struct ViewEntry {
    std::u32string folded; // the key's characters folded for comparisons ignoring case
    std::string key;       // the key as stored (LMBCS)
    NOTEID noteId = 0;     // the document
};

// The entries of a view, sorted by folded key, then by key, then by note ID.
using ViewEntries = std::vector<ViewEntry>;

// The $Users entries of db: one entry per distinct key of every document whose Form is
// "Person" ignoring case. A person's keys are each value of FullName, the common name of each
// canonical ("CN=...") FullName value, each value of ShortName and of InternetAddress, and
// FirstName and LastName joined by a blank; empty keys are left out.
ViewEntries UsersViewEntries(const Database& db);

// The entries that match key: with partial, those whose key begins with it, otherwise those
// equal to it; ignoring case, or byte for byte when caseSensitive (not with partial). They
// stand together in the sorted entries: first is the position of the first, count their
// number (0 when none matches).
void FindEntries(const ViewEntries& entries, std::string_view key, bool partial, bool caseSensitive,
                 size_t& first, size_t& count);

// The $Users entries of each database model, computed once per model: a database file that
// changed is read into a new model, whose entries are computed anew.
class UsersViewCache {
  public:
    // The entries of db's $Users view.
    std::shared_ptr<const ViewEntries> EntriesOf(const std::shared_ptr<Database>& db);

    // Forgets every model's entries.
    void Clear() { m_views.clear(); }

  private:
    // The entries computed for one model.
    struct CachedView {
        std::weak_ptr<Database> db;                 // the model; expired once it is dropped
        std::shared_ptr<const ViewEntries> entries; // its entries
    };

    std::map<const Database*, CachedView> m_views; // by model
};

} // namespace notesrt
