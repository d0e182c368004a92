#include "platform/mutex.h"

#include <mutex>

namespace platform {

struct CriticalSection::Impl {
    std::recursive_mutex mutex; // the lock; the owner may take it again
};

CriticalSection::CriticalSection() : m_impl(new Impl) {}

CriticalSection::~CriticalSection() {
    delete m_impl;
}

void CriticalSection::Enter() {
    m_impl->mutex.lock();
}

void CriticalSection::Leave() {
    m_impl->mutex.unlock();
}

} // namespace platform
