#include "KorvoLotusC.h"

#include <cstring>

ByteBuffer::ByteBuffer(const ByteBuffer& other) {
    Assign(other.m_size, other.m_data);
}

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other) {
    if (this != &other)
        Assign(other.m_size, other.m_data);
    return *this;
}

ByteBuffer::~ByteBuffer() {
    Clear();
}

void ByteBuffer::Assign(uint32_t size, const uint8_t* bytes) {
    Clear();
    if (size == 0 || bytes == nullptr)
        return;
    m_data = new uint8_t[size];
    std::memcpy(m_data, bytes, size);
    m_size = size;
}

void ByteBuffer::Adopt(uint32_t size, uint8_t* bytes) {
    Clear();
    m_data = bytes;
    m_size = bytes ? size : 0;
}

void ByteBuffer::Clear() {
    delete[] m_data;
    m_data = nullptr;
    m_size = 0;
}
