// CriticalSection over the system's CRITICAL_SECTION, which is recursive by nature.
#include "windows_api.h"

#include "platform/mutex.h"

namespace platform {

struct CriticalSection::Impl {
    CRITICAL_SECTION section; // the system lock, initialised for the object's lifetime
};

CriticalSection::CriticalSection() : m_impl(new Impl) {
    ::InitializeCriticalSection(&m_impl->section);
}

CriticalSection::~CriticalSection() {
    ::DeleteCriticalSection(&m_impl->section);
    delete m_impl;
}

void CriticalSection::Enter() {
    ::EnterCriticalSection(&m_impl->section);
}

void CriticalSection::Leave() {
    ::LeaveCriticalSection(&m_impl->section);
}

} // namespace platform
