#include "library_session.h"

namespace host {

LibrarySession::~LibrarySession() {
    if (m_object != nullptr)
        Release();
}

IKorvoLotus& LibrarySession::Object() {
    if (m_object == nullptr)
        m_object = DllGetKorvoLotusClassObject();
    return *m_object;
}

void LibrarySession::Release() {
    DllDeleteKorvoLotusClassObject();
    m_object = nullptr;
}

} // namespace host
