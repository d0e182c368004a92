// Tables of the objects behind handles.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

namespace notesrt {

// Maps handle numbers to objects of one kind. A handle number holds a kind tag, the low bits
// of the runtime's generation and a serial number, so a handle of another kind or from before
// a stop of the runtime is never found.
template <typename T> class HandleTable {
  public:
    // kindTag goes into the bits above the generation; serialBits and generationBits give
    // the widths of the two lower fields.
    HandleTable(uint32_t kindTag, unsigned serialBits, unsigned generationBits)
        : m_kindTag(kindTag), m_serialBits(serialBits), m_generationBits(generationBits) {}

    // Stores value under a new handle and returns the handle; 0 when every serial number is
    // in use.
    uint32_t Add(T value) {
        const uint32_t serialLimit = (1u << m_serialBits) - 1u;
        if (m_objects.size() >= serialLimit)
            return 0;
        for (;;) {
            if (m_nextSerial == 0 || m_nextSerial > serialLimit)
                m_nextSerial = 1;
            const uint32_t handle = Compose(m_nextSerial++);
            if (m_objects.find(handle) == m_objects.end()) {
                m_objects.emplace(handle, std::move(value));
                return handle;
            }
        }
    }

    // The object of handle; null for 0, a handle of another kind or generation, or a
    // removed one.
    T* Find(uint32_t handle) {
        auto found = m_objects.find(handle);
        return found == m_objects.end() ? nullptr : &found->second;
    }

    // Removes the object of handle; false when there is none.
    bool Remove(uint32_t handle) { return m_objects.erase(handle) != 0; }

    // Removes every object and starts handing out handles of generation.
    void Clear(uint32_t generation) {
        m_objects.clear();
        m_generation = generation;
        m_nextSerial = 1;
    }

    size_t Size() const { return m_objects.size(); }

    typename std::map<uint32_t, T>::const_iterator begin() const { return m_objects.begin(); }
    typename std::map<uint32_t, T>::const_iterator end() const { return m_objects.end(); }

  private:
    uint32_t Compose(uint32_t serial) const {
        const uint32_t generation = m_generation & ((1u << m_generationBits) - 1u);
        return (m_kindTag << (m_serialBits + m_generationBits)) | (generation << m_serialBits) |
               serial;
    }

    uint32_t m_kindTag;              // tag of the kind, in the top bits
    unsigned m_serialBits;           // width of the serial number
    unsigned m_generationBits;       // width of the generation field
    uint32_t m_generation = 0;       // generation of the handles handed out now
    uint32_t m_nextSerial = 1;       // serial number tried next
    std::map<uint32_t, T> m_objects; // objects by handle
};

} // namespace notesrt
