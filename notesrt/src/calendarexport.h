// The calendar export: the appointments of a range as iCalendar answers.
#pragma once

#include "appointments.h"
#include "notesapi.h"

#include <string>

namespace notesrt {

// Bytes of one answer at most.
constexpr size_t kMaxCalendarAnswer = 0xFFFF;

// The occurrences of calendar that start from first to last (hundredths since 1970-01-01
// 00:00 UTC, both included), in start order: count of them from the one at begin.
void OccurrencesInRange(const Calendar& calendar, int64_t first, int64_t last, size_t& begin,
                        size_t& count);

// Writes into text one VCALENDAR holding the VEVENTs of events[from] to events[count - 1], as
// many as fit into kMaxCalendarAnswer bytes and at most limit of them (0: no limit), with a
// VTIMEZONE for the local times they carry; answered gets how many it holds. latestEnd is the
// latest end among them. Fails with kErrTextTooLong when not even the first fits. from lies
// below count.
STATUS BuildCalendarAnswer(const Model& db, const Occurrence* events, size_t count, size_t from,
                           size_t limit, int64_t latestEnd, std::string& text, size_t& answered);

} // namespace notesrt
