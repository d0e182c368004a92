// The process's time zone as iCalendar describes it: the observances in effect at given
// instants, for a VTIMEZONE.
#pragma once

#include <cstdint>
#include <vector>

namespace notesrt {

// A change of the zone's offset, or the state before the first change known.
struct Observance {
    bool initial = false;   // no change was found before: the state since long ago
    int64_t onset = 0;      // UTC seconds of the change (not used for the initial state)
    int32_t offsetFrom = 0; // seconds east of GMT before the change
    int32_t offsetTo = 0;   // seconds east of GMT from the change on
    bool daylight = false;  // daylight saving time is in effect from the change on
};

// The changes of the process's zone over a span of time.
class ZoneHistory {
  public:
    // Learns the changes from a year and a month before first up to last (UTC seconds).
    ZoneHistory(int64_t first, int64_t last);

    // The observance in effect at utc, which lies in the span learned.
    Observance At(int64_t utc) const;

    // The zone's standard offset at utc, seconds east of GMT (0 when the system cannot tell).
    static int32_t StandardOffsetAt(int64_t utc);

  private:
    Observance m_initial;              // the state at the start of the span
    std::vector<Observance> m_changes; // the changes in the span, in time order
};

} // namespace notesrt
