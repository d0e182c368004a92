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

void TextHash::Mix(std::string_view blocks) {
    // The lanes in locals, which the bytes read cannot alias.
    uint64_t lanes[kLanes];
    std::memcpy(lanes, m_lanes, sizeof lanes);
    for (; blocks.size() >= sizeof m_pending; blocks.remove_prefix(sizeof m_pending)) {
        for (size_t lane = 0; lane < kLanes; ++lane) {
            uint64_t word;
            std::memcpy(&word, blocks.data() + lane * sizeof word, sizeof word);
            lanes[lane] = Mixed(lanes[lane], word);
        }
    }
    std::memcpy(m_lanes, lanes, sizeof lanes);
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
        Mix(std::string_view(m_pending, sizeof m_pending));
        m_pendingLength = 0;
    }
    const size_t whole = bytes.size() - bytes.size() % sizeof m_pending;
    Mix(bytes.substr(0, whole));
    bytes.remove_prefix(whole);
    std::memcpy(m_pending, bytes.data(), bytes.size());
    m_pendingLength = bytes.size();
}

uint64_t TextHash::Value() const {
    TextHash last = *this;
    std::memset(last.m_pending + m_pendingLength, 0, sizeof m_pending - m_pendingLength);
    last.Mix(std::string_view(last.m_pending, sizeof last.m_pending));
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
