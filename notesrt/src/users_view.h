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
// comparisons ignoring case, then by key, then by note ID. Keys and their folded forms are kept
// in one text; a key of plain ASCII is folded where it is compared.
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
        uint64_t prefix;  // the first 8 bytes of the folded key, big-endian, zero-padded
        uint32_t key;     // offset of the key (LMBCS) in m_text
        uint32_t keySize; // its bytes
        uint32_t folded;  // offset of the folded key's text record in m_text; kAsciiKey: none
        NOTEID noteId;    // the document
    };

    // A folded key: bytes, or the bytes of an ASCII key folded as they are read.
    struct Folded {
        std::string_view bytes; // the folded key, or the ASCII key
        bool ascii;             // bytes is the key; A-Z read as a-z
    };

    static constexpr uint32_t kAsciiKey = 0xFFFFFFFFu;

    void Add(std::string_view key, NOTEID noteId);
    std::string_view KeyOf(const Entry& entry) const;
    Folded FoldedOf(const Entry& entry) const;
    bool Before(const Entry& a, const Entry& b) const;

    std::string m_text;           // the keys and folded keys
    std::vector<Entry> m_entries; // in view order
};

// The $Users entries of model, computed once per model.
std::shared_ptr<const ViewEntries> UsersViewOf(const Model& model);

} // namespace notesrt
