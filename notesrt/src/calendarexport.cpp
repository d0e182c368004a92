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
std::string StampOf(const Note& note) {
    int64_t seconds;
    unsigned hundredths;
    if (!SplitTimeDate(note.oid.SequenceTime, seconds, hundredths))
        seconds = 0;
    return DateTimeText(seconds) + "Z";
}

// Writes the VEVENTs of one answer and collects the observances their local times need.
class EventWriter {
  public:
    EventWriter(const Database& db, const ZoneHistory& zone, std::string tzid)
        : m_db(db), m_zone(zone), m_tzid(std::move(tzid)) {}

    std::string Write(const Occurrence& occurrence, Observances& observances) const {
        const Note& note = m_db.notes[occurrence.position];
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
        text += FoldedLine("UID:" + PlainValue(UidOf(note)));
        text += FoldedLine("X-LOTUS-UNID:" + UnidToHex(UnidOfNote(note)));
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

    static std::string TextLine(const Note& note, const char* property, const char* item) {
        const std::string value = ItemTextOf(note, item);
        return value.empty() ? std::string() : FoldedLine(property + (":" + EscapedText(value)));
    }

    static std::string PlainLine(const Note& note, const char* property, const char* item) {
        const std::string value = PlainValue(ItemTextOf(note, item));
        return value.empty() ? std::string() : FoldedLine(property + (":" + value));
    }

    const Database& m_db;      // the appointments' database
    const ZoneHistory& m_zone; // the zone's changes over the events' span
    std::string m_tzid;        // the VTIMEZONE's name
};

} // namespace

std::vector<Occurrence> OccurrencesInRange(const Database& db, int64_t first, int64_t last) {
    std::vector<Occurrence> listed;
    for (const Occurrence& occurrence : AllOccurrences(db)) {
        if (occurrence.startAt >= first && occurrence.startAt <= last)
            listed.push_back(occurrence);
    }
    return listed;
}

STATUS BuildCalendarAnswer(const Database& db, const std::vector<Occurrence>& events, size_t from,
                           size_t limit, std::string& text, size_t& count) {
    int64_t last = events[from].endAt;
    for (size_t i = from; i < events.size(); ++i)
        last = std::max(last, events[i].endAt);
    const int64_t first = SecondsOf(events[from].startAt);
    const ZoneHistory zone(first, SecondsOf(last) + 1);
    const std::string tzid =
        "Local Time (GMT" + OffsetText(ZoneHistory::StandardOffsetAt(first)) + ")";
    const EventWriter writer(db, zone, tzid);
    const std::string head = FoldedLine("BEGIN:VCALENDAR") + FoldedLine("VERSION:2.0") +
                             FoldedLine("PRODID:-//notesrt//Calendar//EN");
    const std::string tail = FoldedLine("END:VCALENDAR");

    Observances observances;
    std::string body;
    count = 0;
    for (size_t i = from; i < events.size() && (limit == 0 || count < limit); ++i) {
        Observances more = observances;
        const std::string event = writer.Write(events[i], more);
        const size_t size =
            head.size() + Timezone(tzid, more).size() + body.size() + event.size() + tail.size();
        if (size > kMaxCalendarAnswer)
            break;
        observances = std::move(more);
        body += event;
        ++count;
    }
    if (count == 0)
        return Fail(kErrTextTooLong, "a calendar entry does not fit into one answer");
    text = head + Timezone(tzid, observances) + body + tail;
    return 0;
}

} // namespace notesrt
