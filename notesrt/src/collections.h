// Open collections: the entries of a view as they were when it was opened, and the read
// that NIFReadEntries answers in pieces.
#pragma once

#include "users_view.h"

#include <cstdint>
#include <memory>

namespace notesrt {

// The arguments of a NIFReadEntries request; a request continues only with the same ones.
struct ReadRequest {
    uint16_t skipNavigator = 0;   // NAVIGATE_CURRENT or NAVIGATE_NEXT
    uint32_t skipCount = 0;       // entries skipped by NAVIGATE_NEXT
    uint16_t returnNavigator = 0; // NAVIGATE_NEXT
    uint32_t returnCount = 0;     // entries asked for in all
    uint32_t returnMask = 0;      // READ_MASK_NOTEID

    bool operator==(const ReadRequest& other) const {
        return skipNavigator == other.skipNavigator && skipCount == other.skipCount &&
               returnNavigator == other.returnNavigator && returnCount == other.returnCount &&
               returnMask == other.returnMask;
    }
};

// A request answered in part: where the next answer starts and how many entries are left.
struct ReadContinuation {
    bool pending = false;   // the last answer signalled SIGNAL_MORE_TO_DO
    ReadRequest request;    // that answer's request
    uint32_t nextEntry = 0; // the position it left, the entry the next answer starts at
    uint32_t remaining = 0; // entries of the request not yet returned
};

// An open collection.
struct Collection {
    std::shared_ptr<const ViewEntries> entries; // the view's entries at the open
    ReadContinuation continuation;              // the read in progress
};

} // namespace notesrt
