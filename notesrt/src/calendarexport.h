// The calendar export: the appointments of a range as iCalendar answers.
#pragma once

#include "appointments.h"
#include "notesapi.h"

#include <string>
#include <vector>

namespace notesrt {

// Bytes of one answer at most.
constexpr size_t kMaxCalendarAnswer = 0xFFFF;

// The occurrences of db's appointments that start from first to last (hundredths since
// 1970-01-01 00:00 UTC, both included), in start order.
std::vector<Occurrence> OccurrencesInRange(const Database& db, int64_t first, int64_t last);

// Writes into text one VCALENDAR holding the VEVENTs of events from index from on, as many
// as fit into kMaxCalendarAnswer bytes and at most limit of them (0: no limit), with a
// VTIMEZONE for the local times they carry; count gets how many it holds. Fails with
// kErrTextTooLong when not even the first fits. from lies within events.
STATUS BuildCalendarAnswer(const Database& db, const std::vector<Occurrence>& events, size_t from,
                           size_t limit, std::string& text, size_t& count);

} // namespace notesrt
