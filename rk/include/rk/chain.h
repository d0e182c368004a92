// An intrusive ring of nodes: each node points to the next, the last to the first.
#pragma once

#include "rk/export.h"

namespace RK {

// A node of a ring. A new node points to itself, a ring of one, which counts as empty; a node
// whose next pointer is null is in no ring at all. Nodes are linked and unlinked only by
// Insert and Detach; the ring owns nothing, and a node must be detached before it goes away.
class RK_API CChain {
  public:
    CChain();
    ~CChain();
    CChain(const CChain&) = delete;
    // Takes over other's next pointer, as if this node stood where other stands.
    CChain& operator=(const CChain& other);

    // True when the node is in a ring (its next pointer is set).
    bool IsChain() const;
    // True when the node is a ring of one.
    bool IsEmpty() const;
    // The following node.
    CChain* GetNext() const;
    // The preceding node, found by walking once round the ring; the node itself for a ring of
    // one, null for a node in no ring.
    CChain* GetPrev() const;
    // Puts this node into the ring of after, right behind after.
    void Insert(CChain* after);
    // Takes this node out of its ring, leaving it a ring of one; nothing for a ring of one.
    void Detach();

  private:
    CChain* m_next; // the following node; this node for a ring of one; null for none
};

} // namespace RK
