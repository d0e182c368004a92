// Where a calendar range read that answered in part continues.
#pragma once

#include "appointments.h"
#include "notesapi.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace notesrt {

// The arguments of a range read that decide what it lists.
struct CalendarRequest {
    TIMEDATE start = {};         // first start listed
    TIMEDATE end = {};           // last start listed
    uint32_t skipCount = 0;      // entries passed over
    uint32_t maxReturnCount = 0; // entries listed in all
    uint32_t returnMaskInfo = 0; // accepted, not examined
    uint32_t returnMaskData = 0; // accepted, not examined
    uint32_t flags = 0;          // accepted, not examined

    bool operator==(const CalendarRequest& other) const {
        return std::memcmp(&start, &other.start, sizeof start) == 0 &&
               std::memcmp(&end, &other.end, sizeof end) == 0 && skipCount == other.skipCount &&
               maxReturnCount == other.maxReturnCount && returnMaskInfo == other.returnMaskInfo &&
               returnMaskData == other.returnMaskData && flags == other.flags;
    }
};

// The continuation of the last range read through one database handle, and the entries it
// lists.
struct CalendarCursor {
    bool active = false;     // the last answer left entries to give
    CalendarRequest request; // that read's arguments
    size_t delivered = 0;    // entries given so far, after the skipped ones

    std::shared_ptr<const Calendar> calendar; // the appointments listed from; null: none yet
    size_t first = 0;                         // the first entry listed, in its occurrences
    size_t count = 0;                         // the entries listed
    std::vector<int64_t> latestEnd;           // per listed entry: the latest end from it on
};

} // namespace notesrt
