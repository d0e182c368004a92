// The calendar of the user's mail database: the state its searches share.
#pragma once

#include "notesapi.h"
#include "notesitems.h"

#include <memory>
#include <new>

// Holds the time range of the current search and the text buffer that the time-list, body
// and MIME readers share.
class CNotesCalendar {
  public:
    // Allocates the cleared shared text buffer (kBodyBufferSize bytes) unless it exists.
    // False when the allocation fails; the buffer stays absent then.
    bool AllocateTextBuffer() {
        if (!m_pTextBuffer)
            m_pTextBuffer.reset(new (std::nothrow) char[kBodyBufferSize]());
        return m_pTextBuffer != nullptr;
    }
    // Frees the shared text buffer.
    void FreeTextBuffer() { m_pTextBuffer.reset(); }

    std::unique_ptr<char[]> m_pTextBuffer; // the shared text buffer; null until allocated
    TIMEDATE m_tdRangeStart = {};          // the current range's first day at 00:00:00
    TIMEDATE m_tdRangeEnd = {};            // the current range's last day at 23:59:00
};
