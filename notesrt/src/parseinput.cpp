// The parser's input: counting, hashing and reading streams in pieces.
#include "parseinput.h"

#include <algorithm>
#include <cstring>

namespace notesrt {

namespace {

uint64_t Mixed(uint64_t state, uint64_t word) {
    state = (state ^ word) * 0xBF58476D1CE4E5B9ull;
    return state ^ (state >> 31);
}

} // namespace

void TextHash::Mix(const char* block) {
    for (size_t lane = 0; lane < kLanes; ++lane) {
        uint64_t word;
        std::memcpy(&word, block + lane * sizeof word, sizeof word);
        m_lanes[lane] = Mixed(m_lanes[lane], word);
    }
}

void TextHash::Add(std::string_view bytes) {
    m_length += bytes.size();
    if (m_pendingLength != 0) {
        const size_t taken = std::min(bytes.size(), sizeof m_pending - m_pendingLength);
        std::memcpy(m_pending + m_pendingLength, bytes.data(), taken);
        m_pendingLength += taken;
        bytes.remove_prefix(taken);
        if (m_pendingLength < sizeof m_pending)
            return;
        Mix(m_pending);
        m_pendingLength = 0;
    }
    for (; bytes.size() >= sizeof m_pending; bytes.remove_prefix(sizeof m_pending))
        Mix(bytes.data());
    std::memcpy(m_pending, bytes.data(), bytes.size());
    m_pendingLength = bytes.size();
}

uint64_t TextHash::Value() const {
    TextHash last = *this;
    std::memset(last.m_pending + m_pendingLength, 0, sizeof m_pending - m_pendingLength);
    last.Mix(last.m_pending);
    uint64_t value = m_length;
    for (const uint64_t lane : last.m_lanes)
        value = Mixed(value, lane);
    return value;
}

uint64_t HashOfText(std::string_view text) {
    TextHash hash;
    hash.Add(text);
    return hash.Value();
}

bool StreamInput::Fill() {
    m_stream.read(m_piece, sizeof m_piece);
    m_length = static_cast<size_t>(m_stream.gcount());
    m_position = 0;
    m_size += m_length;
    m_hash.Add(std::string_view(m_piece, m_length));
    return m_length != 0;
}

} // namespace notesrt
