// The appointments of a mail database.
#include "appointments.h"

#include "asciicase.h"
#include "identifiers.h"
#include "timedate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace notesrt {
namespace {

// The first item of the note named name holding times; false when it is missing or holds none.
bool TimesOf(const Model& db, const NoteRecord& note, std::string_view name, ItemView& times) {
    size_t position;
    if (!db.FindItem(note, name, 0, position))
        return false;
    times = db.ItemAt(note, position);
    return times.kind == ValueKind::Time || times.kind == ValueKind::TimeList;
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

bool IsAppointment(const Model& db, const NoteRecord& note) {
    return note.noteClass == NOTE_CLASS_DOCUMENT &&
           EqualsIgnoringCase(ItemTextOf(db, note, "Form"), "Appointment");
}

bool IsRepeating(const Model& db, const NoteRecord& note) {
    return ItemTextOf(db, note, "Repeats") == "1";
}

std::string ItemTextOf(const Model& db, const NoteRecord& note, std::string_view name) {
    size_t position;
    if (!db.FindItem(note, name, 0, position))
        return std::string();
    const ItemView item = db.ItemAt(note, position);
    switch (item.kind) {
    case ValueKind::Text:
        return std::string(item.data);
    case ValueKind::TextList: {
        std::string_view records = item.data;
        std::string_view first;
        return NextText(records, first) ? std::string(first) : std::string();
    }
    case ValueKind::Number: {
        const double number = NumberOf(item);
        if (std::trunc(number) != number || std::fabs(number) > 1e15)
            return std::string();
        char text[32];
        std::snprintf(text, sizeof text, "%.0f", number);
        return text;
    }
    default:
        return std::string();
    }
}

std::string UidOf(const Model& db, const NoteRecord& note) {
    const std::string uid = ItemTextOf(db, note, "ApptUNID");
    return uid.empty() ? UnidToHex(note.unid) : uid;
}

std::vector<Occurrence> OccurrencesOf(const Model& db, size_t position) {
    const NoteRecord& note = db.Notes()[position];
    ItemView starts;
    ItemView ends;
    const size_t startCount = TimesOf(db, note, "StartDateTime", starts) ? TimeCount(starts) : 0;
    const size_t endCount = TimesOf(db, note, "EndDateTime", ends) ? TimeCount(ends) : 0;
    const bool repeating = IsRepeating(db, note);
    const size_t count = repeating ? startCount : std::min<size_t>(startCount, 1);
    std::vector<Occurrence> occurrences;
    for (size_t i = 0; i < count; ++i) {
        Occurrence occurrence;
        occurrence.position = position;
        occurrence.instance = repeating;
        occurrence.start = TimeAt(starts, i);
        if (!InstantOf(occurrence.start, occurrence.startAt))
            continue;
        occurrence.end = occurrence.start;
        occurrence.endAt = occurrence.startAt;
        int64_t endAt;
        if (i < endCount && InstantOf(TimeAt(ends, i), endAt) && endAt > occurrence.startAt) {
            occurrence.end = TimeAt(ends, i);
            occurrence.endAt = endAt;
        }
        occurrences.push_back(occurrence);
    }
    return occurrences;
}

std::shared_ptr<const Calendar> CalendarOf(const Model& db) {
    if (db.calendar)
        return db.calendar;
    auto calendar = std::make_shared<Calendar>();
    for (size_t position = 0; position < db.Notes().size(); ++position) {
        const NoteRecord& note = db.Notes()[position];
        if (!IsAppointment(db, note))
            continue;
        calendar->byUid.emplace_back(UidOf(db, note), position);
        const std::vector<Occurrence> some = OccurrencesOf(db, position);
        calendar->occurrences.insert(calendar->occurrences.end(), some.begin(), some.end());
    }
    std::stable_sort(
        calendar->occurrences.begin(), calendar->occurrences.end(),
        [](const Occurrence& a, const Occurrence& b) { return a.startAt < b.startAt; });
    std::stable_sort(calendar->byUid.begin(), calendar->byUid.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    db.calendar = calendar;
    return calendar;
}

} // namespace notesrt
