// The appointments of a mail database.
#include "appointments.h"

#include "asciicase.h"
#include "identifiers.h"
#include "items.h"
#include "timedate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace notesrt {
namespace {

// The times of the first item named name; empty when it is missing or holds no times.
std::vector<TIMEDATE> TimesOf(const Note& note, std::string_view name) {
    size_t position;
    if (!FindItem(note, name, 0, position))
        return {};
    const Item& item = note.items[position];
    if (item.kind != ValueKind::Time && item.kind != ValueKind::TimeList)
        return {};
    return item.times;
}

} // namespace

bool InstantOf(const TIMEDATE& time, int64_t& hundredths) {
    int64_t seconds;
    unsigned fraction;
    if (!SplitTimeDate(time, seconds, fraction))
        return false;
    hundredths = seconds * 100 + fraction;
    return true;
}

bool IsAppointment(const Note& note) {
    return note.noteClass == NOTE_CLASS_DOCUMENT &&
           EqualsIgnoringCase(ItemTextOf(note, "Form"), "Appointment");
}

bool IsRepeating(const Note& note) {
    return ItemTextOf(note, "Repeats") == "1";
}

std::string ItemTextOf(const Note& note, std::string_view name) {
    size_t position;
    if (!FindItem(note, name, 0, position))
        return std::string();
    const Item& item = note.items[position];
    switch (item.kind) {
    case ValueKind::Text:
        return item.text;
    case ValueKind::TextList:
        return item.texts.empty() ? std::string() : item.texts.front();
    case ValueKind::Number: {
        if (std::trunc(item.number) != item.number || std::fabs(item.number) > 1e15)
            return std::string();
        char text[32];
        std::snprintf(text, sizeof text, "%.0f", item.number);
        return text;
    }
    default:
        return std::string();
    }
}

std::string UidOf(const Note& note) {
    const std::string uid = ItemTextOf(note, "ApptUNID");
    return uid.empty() ? UnidToHex(UnidOfNote(note)) : uid;
}

std::vector<Occurrence> OccurrencesOf(const Note& note, size_t position) {
    const std::vector<TIMEDATE> starts = TimesOf(note, "StartDateTime");
    const std::vector<TIMEDATE> ends = TimesOf(note, "EndDateTime");
    const bool repeating = IsRepeating(note);
    const size_t count = repeating ? starts.size() : std::min<size_t>(starts.size(), 1);
    std::vector<Occurrence> occurrences;
    for (size_t i = 0; i < count; ++i) {
        Occurrence occurrence;
        occurrence.position = position;
        occurrence.instance = repeating;
        occurrence.start = starts[i];
        if (!InstantOf(occurrence.start, occurrence.startAt))
            continue;
        occurrence.end = occurrence.start;
        occurrence.endAt = occurrence.startAt;
        int64_t endAt;
        if (i < ends.size() && InstantOf(ends[i], endAt) && endAt > occurrence.startAt) {
            occurrence.end = ends[i];
            occurrence.endAt = endAt;
        }
        occurrences.push_back(occurrence);
    }
    return occurrences;
}

std::vector<Occurrence> AllOccurrences(const Database& db) {
    std::vector<Occurrence> all;
    for (size_t position = 0; position < db.notes.size(); ++position) {
        if (!IsAppointment(db.notes[position]))
            continue;
        const std::vector<Occurrence> some = OccurrencesOf(db.notes[position], position);
        all.insert(all.end(), some.begin(), some.end());
    }
    std::stable_sort(all.begin(), all.end(), [](const Occurrence& a, const Occurrence& b) {
        return a.startAt < b.startAt;
    });
    return all;
}

} // namespace notesrt
