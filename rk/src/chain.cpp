// Intrusive ring nodes.
#include "rk/chain.h"

namespace RK {

CChain::CChain() : m_next(this) {}

CChain::~CChain() {}

CChain& CChain::operator=(const CChain& other) {
    m_next = other.m_next;
    return *this;
}

bool CChain::IsChain() const {
    return m_next != nullptr;
}

bool CChain::IsEmpty() const {
    return m_next == this;
}

CChain* CChain::GetNext() const {
    return m_next;
}

CChain* CChain::GetPrev() const {
    CChain* node = m_next;
    while (node != nullptr && node->m_next != this)
        node = node->m_next;
    return node;
}

void CChain::Insert(CChain* after) {
    m_next = after->m_next;
    after->m_next = this;
}

void CChain::Detach() {
    if (m_next == nullptr || m_next == this)
        return;
    GetPrev()->m_next = m_next;
    m_next = this;
}

} // namespace RK
