// Splitting calendar export text into entries: any bytes, read only within the given length
// (the input is not NUL-terminated). No more entries than END:VEVENT lines (a line's text
// ends at its CR LF or at a NUL before it); every entry has a type from 0 to 5, terminated
// texts, and texts that were copied from a line of the input (after their property name and
// colon, possibly cut to fit).
#include "calendarparse.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Aborts unless field (size bytes) is terminated and, when not empty, follows
// "\r\n" + name + ":" (or name + ":" at the very start) somewhere in text.
void CheckCopiedValue(std::string_view text, const char* name, const char* field, size_t size) {
    const char* const end = static_cast<const char*>(std::memchr(field, '\0', size));
    if (end == nullptr)
        std::abort();
    const size_t length = static_cast<size_t>(end - field);
    if (length == 0)
        return;
    const std::string property = std::string(name) + ":" + std::string(field, length);
    if (text.compare(0, property.size(), property) != 0 &&
        text.find("\r\n" + property) == std::string_view::npos)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<CalendarEventEntry> entries;
    ParseCalendarText(text.data(), text.size(), entries);

    // A line is read as text up to its first NUL, so "END:VEVENT" then a NUL ends an event too.
    const std::string_view endEvent = "END:VEVENT";
    size_t ends = 0;
    for (size_t at = text.find(endEvent); at != std::string_view::npos;
         at = text.find(endEvent, at + 1)) {
        const size_t after = at + endEvent.size();
        if (after < text.size() && (text[after] == '\r' || text[after] == '\0'))
            ++ends;
    }
    if (entries.size() > ends)
        std::abort();
    const CalendarEventEntry* previous = nullptr;
    for (const CalendarEventEntry& entry : entries) {
        if (entry.fromSchedule != 0 || entry.apptType < 0 || entry.apptType > 5)
            std::abort();
        // An entry is not cleared at END:VEVENT, so repeats are common; check each once.
        if (previous != nullptr && std::memcmp(previous, &entry, sizeof entry) == 0)
            continue;
        previous = &entry;
        CheckCopiedValue(text, "UID", entry.uid, sizeof entry.uid);
        CheckCopiedValue(text, "RECURRENCE-ID", entry.recurrenceId, sizeof entry.recurrenceId);
        CheckCopiedValue(text, "X-LOTUS-ORGANIZER", entry.organizer, sizeof entry.organizer);
        CheckCopiedValue(text, "X-LOTUS-UNID", entry.unidText, sizeof entry.unidText);
    }
    return 0;
}
