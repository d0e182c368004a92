// The characters of a database file as the JSON parser takes them, from a text held whole or
// from a stream a piece at a time: counted as they are taken, so that the reader of the
// parser's events knows where in the file it stands, and hashed, so that a writer can tell
// whether a file still holds the text a model was read from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <iterator>
#include <string>
#include <string_view>

namespace notesrt {

// A 64-bit hash of bytes given in pieces: the same for the same bytes however they are cut.
class TextHash {
  public:
    void Add(std::string_view bytes);
    uint64_t Value() const;

  private:
    static constexpr size_t kLanes = 4; // words mixed side by side, one into each lane

    // Mixes whole blocks of kLanes words (a shorter rest is left out).
    void Mix(std::string_view blocks);

    uint64_t m_lanes[kLanes] = {1, 2, 3, 4}; // the blocks mixed so far
    uint64_t m_length = 0;                   // bytes added so far
    char m_pending[kLanes * 8] = {};         // the bytes of a block not yet whole
    size_t m_pendingLength = 0;              // ... how many
};

// The hash of a whole text.
uint64_t HashOfText(std::string_view text);

// A text held whole.
class TextInput {
  public:
    explicit TextInput(const std::string& text) : m_text(text) {}

    // An input iterator over the characters that counts the ones taken.
    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char*;
        using reference = const char&;

        Iterator(const char* at, uint64_t* taken) : m_at(at), m_taken(taken) {}

        const char& operator*() const { return *m_at; }
        Iterator& operator++() {
            ++m_at;
            ++*m_taken;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_at == other.m_at; }
        bool operator!=(const Iterator& other) const { return m_at != other.m_at; }

      private:
        const char* m_at;  // the next character
        uint64_t* m_taken; // the input's count
    };

    Iterator begin() { return Iterator(m_text.data(), &m_taken); }
    Iterator end() { return Iterator(m_text.data() + m_text.size(), &m_taken); }

    // Characters taken so far (a reference that follows the count).
    const uint64_t& Taken() const { return m_taken; }
    uint64_t Size() const { return m_text.size(); }
    uint64_t Hash() const { return HashOfText(m_text); }

  private:
    const std::string& m_text; // what is read
    uint64_t m_taken = 0;      // characters taken
};

// A stream's characters, read a piece at a time so that the text is never held whole.
class StreamInput {
  public:
    explicit StreamInput(std::istream& stream) : m_stream(stream) {}

    // An input iterator over the characters; copies share the position.
    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char*;
        using reference = const char&;

        Iterator() = default;
        explicit Iterator(StreamInput* input) : m_input(input->Fill() ? input : nullptr) {}

        const char& operator*() const { return m_input->m_piece[m_input->m_position]; }
        Iterator& operator++() {
            ++m_input->m_taken;
            if (++m_input->m_position == m_input->m_length && !m_input->Fill())
                m_input = nullptr;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_input == other.m_input; }
        bool operator!=(const Iterator& other) const { return m_input != other.m_input; }

      private:
        StreamInput* m_input = nullptr; // the input; null at the end
    };

    Iterator begin() { return Iterator(this); }
    Iterator end() { return Iterator(); }

    // Characters taken so far (a reference that follows the count); once the parser is done,
    // the characters read and their hash.
    const uint64_t& Taken() const { return m_taken; }
    uint64_t Size() const { return m_size; }
    uint64_t Hash() const { return m_hash.Value(); }

  private:
    // Reads the next piece; false at the end of the stream.
    bool Fill();

    std::istream& m_stream; // what is read
    char m_piece[1 << 16];  // the piece read last
    size_t m_length = 0;    // its characters
    size_t m_position = 0;  // the character the parser reads next
    uint64_t m_taken = 0;   // characters taken
    uint64_t m_size = 0;    // characters read
    TextHash m_hash;        // ... and their hash
};

} // namespace notesrt
