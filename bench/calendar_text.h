// A calendar export text such as the runtime answers a range read with, for timing the
// splitting of it.
#pragma once

#include <cstddef>
#include <string>

namespace korvo_bench {

// One VCALENDAR holding events VEVENTs over the week of 2026-12-07, in the runtime's form:
// CR LF lines folded at 75 octets, a VTIMEZONE for local time, and per event DTSTART, DTEND,
// DTSTAMP, SUMMARY, LOCATION, UID, X-LOTUS-UNID, X-LOTUS-APPTTYPE and X-LOTUS-ORGANIZER; one
// event in ten is an instance of a repeating meeting and carries RECURRENCE-ID. The same
// count always gives the same text.
std::string CalendarExportText(size_t events);

} // namespace korvo_bench
