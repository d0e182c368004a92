// The process's time zone as iCalendar observances.
#include "zonerules.h"

#include "os.h"

#include <algorithm>

namespace notesrt {
namespace {

constexpr int64_t kDay = 86400;
constexpr int64_t kLookBack = 400 * kDay; // long enough to see the change before any time

// The zone's state at utc: offset east of GMT and daylight saving time.
struct ZoneState {
    int32_t offset = 0; // seconds east of GMT
    bool daylight = false;

    bool operator!=(const ZoneState& other) const {
        return offset != other.offset || daylight != other.daylight;
    }
};

ZoneState StateAt(int64_t utc) {
    int32_t standard = 0;
    bool dst = false;
    if (!ZoneAt(utc, standard, dst))
        return ZoneState();
    return ZoneState{standard + (dst ? 3600 : 0), dst};
}

// The first second after from, no later than to, whose state differs from the state at
// from; the states at from and to differ.
int64_t ChangeBetween(int64_t from, int64_t to, const ZoneState& before) {
    while (to - from > 1) {
        const int64_t middle = from + (to - from) / 2;
        if (StateAt(middle) != before)
            to = middle;
        else
            from = middle;
    }
    return to;
}

} // namespace

ZoneHistory::ZoneHistory(int64_t first, int64_t last) {
    int64_t at = first - kLookBack;
    ZoneState state = StateAt(at);
    m_initial.initial = true;
    m_initial.offsetFrom = state.offset;
    m_initial.offsetTo = state.offset;
    m_initial.daylight = state.daylight;
    while (at < last) {
        const int64_t next = std::min(at + kDay, last);
        const ZoneState after = StateAt(next);
        if (after != state) {
            Observance change;
            change.onset = ChangeBetween(at, next, state);
            const ZoneState changed = StateAt(change.onset);
            change.offsetFrom = state.offset;
            change.offsetTo = changed.offset;
            change.daylight = changed.daylight;
            m_changes.push_back(change);
            state = changed;
            at = change.onset;
            continue;
        }
        at = next;
    }
}

Observance ZoneHistory::At(int64_t utc) const {
    const auto after = std::upper_bound(
        m_changes.begin(), m_changes.end(), utc,
        [](int64_t time, const Observance& change) { return time < change.onset; });
    return after == m_changes.begin() ? m_initial : *(after - 1);
}

int32_t ZoneHistory::StandardOffsetAt(int64_t utc) {
    int32_t standard = 0;
    bool dst = false;
    return ZoneAt(utc, standard, dst) ? standard : 0;
}

} // namespace notesrt
