// The entries of the $Users view of an address book, and the matching of keys against them.
#pragma once

#include "model.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace notesrt {

// The entries of a view: a key and the document it stands for, sorted by the key folded for
// comparisons ignoring case, then by key, then by note ID. Each entry's folded key and key are
// kept side by side in one text.
class ViewEntries {
  public:
    // No entries.
    ViewEntries() = default;

    // The $Users entries of model: one entry per distinct key of every document whose Form is
    // "Person" ignoring case. A person's keys are each value of FullName, the common name of
    // each canonical ("CN=...") FullName value, each value of ShortName and of InternetAddress,
    // and FirstName and LastName joined by a blank; empty keys are left out.
    explicit ViewEntries(const Model& model);

    size_t size() const { return m_entries.size(); }

    // The document of the entry at position.
    NOTEID NoteIdAt(size_t position) const { return m_entries[position].noteId; }

    // The entries that match key: with partial, those whose key begins with it, otherwise
    // those equal to it; ignoring case, or byte for byte when caseSensitive (not with partial).
    // They stand together: first is the position of the first, count their number (0 when none
    // matches).
    void Find(std::string_view key, bool partial, bool caseSensitive, size_t& first,
              size_t& count) const;

  private:
    // One entry.
    struct Entry {
        uint64_t prefix;     // the first 8 bytes of the folded key, big-endian, zero-padded
        uint32_t offset;     // where the folded key lies in m_text, the key right after it
        uint32_t foldedSize; // bytes of the folded key
        uint32_t keySize;    // bytes of the key (LMBCS)
        NOTEID noteId;       // the document
    };

    void Add(std::string_view key, NOTEID noteId);
    std::string_view FoldedOf(const Entry& entry) const;
    std::string_view KeyOf(const Entry& entry) const;
    bool Before(const Entry& a, const Entry& b) const;

    std::string m_text;           // the folded keys and keys
    std::vector<Entry> m_entries; // in view order
};

// The $Users entries of model, computed once per model.
std::shared_ptr<const ViewEntries> UsersViewOf(const Model& model);

} // namespace notesrt
