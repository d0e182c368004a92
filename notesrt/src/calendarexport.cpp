// The calendar export: VCALENDAR answers of whole VEVENTs.
#include "calendarexport.h"

#include "icalendar.h"
#include "identifiers.h"
#include "status.h"
#include "timedate.h"
#include "zonerules.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

namespace notesrt {
namespace {

// Whole seconds of hundredths, rounded down.
int64_t SecondsOf(int64_t hundredths) {
    return hundredths >= 0 ? hundredths / 100 : -((-hundredths + 99) / 100);
}

// The observances of a VTIMEZONE, by onset; the initial state sorts first.
using Observances = std::map<int64_t, Observance>;

void AddObservance(Observances& observances, const Observance& observance) {
    observances.emplace(observance.initial ? INT64_MIN : observance.onset, observance);
}

std::string Timezone(const std::string& tzid, const Observances& observances) {
    std::string text = FoldedLine("BEGIN:VTIMEZONE") + FoldedLine("TZID:" + tzid);
    for (const auto& entry : observances) {
        const Observance& observance = entry.second;
        const std::string kind = observance.daylight ? "DAYLIGHT" : "STANDARD";
        text += FoldedLine("BEGIN:" + kind);
        text +=
            FoldedLine("DTSTART:" + (observance.initial
                                         ? std::string("16010101T000000")
                                         : DateTimeText(observance.onset + observance.offsetFrom)));
        text += FoldedLine("TZOFFSETFROM:" + OffsetText(observance.offsetFrom));
        text += FoldedLine("TZOFFSETTO:" + OffsetText(observance.offsetTo));
        text += FoldedLine("END:" + kind);
    }
    return text + FoldedLine("END:VTIMEZONE");
}

// The note's last modification time in UTC, the start of 1970 when it has none.
std::string StampOf(const NoteRecord& note) {
    int64_t seconds;
    unsigned hundredths;
    if (!SplitTimeDate(OidOf(note).SequenceTime, seconds, hundredths))
        seconds = 0;
    return DateTimeText(seconds) + "Z";
}

// Writes the VEVENTs of one answer and collects the observances their local times need.
class EventWriter {
  public:
    EventWriter(const Model& db, const ZoneHistory& zone, std::string tzid)
        : m_db(db), m_zone(zone), m_tzid(std::move(tzid)) {}

    std::string Write(const Occurrence& occurrence, Observances& observances) const {
        const NoteRecord& note = m_db.Notes()[occurrence.position];
        const int64_t start = SecondsOf(occurrence.startAt);
        std::string text = FoldedLine("BEGIN:VEVENT");
        text += FoldedLine("DTSTART;TZID=" + m_tzid + ":" + LocalText(start, observances));
        text += FoldedLine("DTEND;TZID=" + m_tzid + ":" +
                           LocalText(SecondsOf(occurrence.endAt), observances));
        text += FoldedLine("DTSTAMP:" + StampOf(note));
        if (occurrence.instance)
            text += FoldedLine("RECURRENCE-ID:" + DateTimeText(start) + "Z");
        text += TextLine(note, "SUMMARY", "Subject");
        text += TextLine(note, "LOCATION", "Location");
        text += FoldedLine("UID:" + PlainValue(UidOf(m_db, note)));
        text += FoldedLine("X-LOTUS-UNID:" + UnidToHex(note.unid));
        text += PlainLine(note, "X-LOTUS-APPTTYPE", "AppointmentType");
        text += PlainLine(note, "X-LOTUS-ORGANIZER", "Chair");
        return text + FoldedLine("END:VEVENT");
    }

  private:
    std::string LocalText(int64_t utc, Observances& observances) const {
        const Observance observance = m_zone.At(utc);
        AddObservance(observances, observance);
        return DateTimeText(utc + observance.offsetTo);
    }

    std::string TextLine(const NoteRecord& note, const char* property, const char* item) const {
        const std::string value = ItemTextOf(m_db, note, item);
        return value.empty() ? std::string() : FoldedLine(property + (":" + EscapedText(value)));
    }

    std::string PlainLine(const NoteRecord& note, const char* property, const char* item) const {
        const std::string value = PlainValue(ItemTextOf(m_db, note, item));
        return value.empty() ? std::string() : FoldedLine(property + (":" + value));
    }

    const Model& m_db;         // the appointments' database
    const ZoneHistory& m_zone; // the zone's changes over the events' span
    std::string m_tzid;        // the VTIMEZONE's name
};

} // namespace

void OccurrencesInRange(const Calendar& calendar, int64_t first, int64_t last, size_t& begin,
                        size_t& count) {
    const std::vector<Occurrence>& all = calendar.occurrences;
    const auto low = std::lower_bound(
        all.begin(), all.end(), first,
        [](const Occurrence& occurrence, int64_t at) { return occurrence.startAt < at; });
    const auto high =
        std::upper_bound(low, all.end(), last, [](int64_t at, const Occurrence& occurrence) {
            return at < occurrence.startAt;
        });
    begin = static_cast<size_t>(low - all.begin());
    count = static_cast<size_t>(high - low);
}

STATUS BuildCalendarAnswer(const Model& db, const Occurrence* events, size_t count, size_t from,
                           size_t limit, int64_t latestEnd, std::string& text, size_t& answered) {
    const int64_t first = SecondsOf(events[from].startAt);
    const ZoneHistory zone(first, SecondsOf(latestEnd) + 1);
    const std::string tzid =
        "Local Time (GMT" + OffsetText(ZoneHistory::StandardOffsetAt(first)) + ")";
    const EventWriter writer(db, zone, tzid);
    const std::string head = FoldedLine("BEGIN:VCALENDAR") + FoldedLine("VERSION:2.0") +
                             FoldedLine("PRODID:-//notesrt//Calendar//EN");
    const std::string tail = FoldedLine("END:VCALENDAR");

    // The observances of the answer so far; an event that needs none of its own leaves the
    // VTIMEZONE, and its size, as they are.
    Observances observances;
    size_t zoneSize = Timezone(tzid, observances).size();
    std::string body;
    answered = 0;
    for (size_t i = from; i < count && (limit == 0 || answered < limit); ++i) {
        Observances added;
        const std::string event = writer.Write(events[i], added);
        Observances merged;
        const bool grows = std::any_of(added.begin(), added.end(), [&](const auto& entry) {
            return observances.count(entry.first) == 0;
        });
        size_t size = zoneSize;
        if (grows) {
            merged = observances;
            merged.insert(added.begin(), added.end());
            size = Timezone(tzid, merged).size();
        }
        if (head.size() + size + body.size() + event.size() + tail.size() > kMaxCalendarAnswer)
            break;
        if (grows) {
            observances = std::move(merged);
            zoneSize = size;
        }
        body += event;
        ++answered;
    }
    if (answered == 0)
        return Fail(kErrTextTooLong, "a calendar entry does not fit into one answer");
    text = head + Timezone(tzid, observances) + body + tail;
    return 0;
}

} // namespace notesrt
