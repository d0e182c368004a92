// The calendar search: the appointments of the current range, and single appointments found
// again by their key.
#include "calendarparse.h"
#include "freebusy.h"
#include "notesclib.h"
#include "notesmailcalendar.h"
#include "notestext.h"
#include "notestime.h"
#include "stringutil.h"
#include "trace.h"

#include <cstring>
#include <utility>

static constexpr char kTraceSource[] = "notesmailcalendar.cpp";

namespace {

constexpr uint32_t kAllEntries = 0xFFFFFFFFu; // no limit on the entries, masks all set
constexpr int32_t kEventReRead = 14;          // eventtype of a record read again
constexpr int32_t kEventGone = 13;            // eventtype of a record no longer in Notes

} // namespace

void CNotesCalendar::SearchAllCalendar(std::vector<CalendarEventEntry>& out) {
    if (m_hMailDB == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::SearchAllCalendar",
                    "No mail data available!!");
        return;
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::SearchAllCalendar", "Seraching ...");
    bool more = false;
    do {
        DHANDLE text = NULLHANDLE;
        uint16_t length = 0;
        uint16_t signal = 0;
        more = false;
        const STATUS status = CalReadRange(m_hMailDB, m_tdRangeStart, m_tdRangeEnd, 0, kAllEntries,
                                           kAllEntries, kAllEntries, nullptr, &text, &length,
                                           nullptr, nullptr, &signal, 0, nullptr);
        if (status != NOERROR) {
            NotesAPIErrHandler("GetCalendarByTimeRange", status);
            break;
        }
        if (signal & SIGNAL_MORE_TO_DO) {
            KORVO_TRACE(PM_SDK::kLevelProgress, "GetCalendarByTimeRange",
                        "there are more Calendar!!");
            more = true;
        }
        if (text != NULLHANDLE && length > 0)
            ParseCalendarData(text, length, out);
        else
            OSMemFree(text);
    } while (more);

    const TIMEDATE_PAIR range{m_tdRangeStart, m_tdRangeEnd};
    GetMatchedScheduledList(range, out);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::SearchAllCalendar",
                "There are %d meetings!", static_cast<int>(out.size()));
}

void CNotesCalendar::ParseAppointments(const std::vector<CalendarEventEntry>& entries,
                                       std::vector<AppointmentInfo>& out) {
    for (const CalendarEventEntry& entry : entries) {
        AppointmentInfo record;
        if (!ParseAppointmentItem(entry, record))
            continue;
        m_dataStore.StoreAppointment(record.entryID, record);
        out.push_back(std::move(record));
    }
    KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCalendar::ParseAppointments",
                "There are %d meetings matced the date.", static_cast<int>(out.size()));
}

int32_t CNotesCalendar::SearchCalendar(const CString& key, CalendarEventEntry& out) {
    std::vector<CalendarEventEntry> entries;
    SearchAllCalendar(entries);
    TextEntry utf8;
    ConstructUTF8TextFromCString(key, utf8);
    KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::SearchCalendar", "APPUNID[%s]",
                utf8.c_str());
    for (const CalendarEventEntry& entry : entries) {
        if (std::strlen(entry.unidText) == utf8.length &&
            std::memcmp(entry.unidText, utf8.c_str(), utf8.length) == 0) {
            out = entry;
            return 1;
        }
    }
    return 0;
}

int32_t CNotesCalendar::GetAppointmentByUNID(const FILETIME* start, const FILETIME* end,
                                             const CString& key, AppointmentInfo& out) {
    if (m_dataStore.FindAppointment(key, out))
        return 1;
    if (start != nullptr && end != nullptr)
        SetCalendarTimeRange(*this, *start, *end);
    TextEntry utf8;
    ConstructUTF8TextFromCString(key, utf8);
    KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAppointmentByUNID", "APPUNID[%s]",
                utf8.c_str());
    CalendarEventEntry entry{};
    if (!SearchCalendar(key, entry))
        return 0;
    return ParseAppointmentItem(entry, out);
}

int32_t CNotesCalendar::UpdateAppointmentByUNID(const CString& key, AppointmentInfo& out) {
    AppointmentInfo cached;
    const bool isCached = m_dataStore.FindAppointment(key, cached);
    CalendarEventEntry entry{};
    AppointmentInfo fresh;
    const bool isRead = SearchCalendar(key, entry) && ParseAppointmentItem(entry, fresh);

    if (isRead) {
        out = fresh;
        out.eventtype = kEventReRead;
        if (!isCached || !IsSameAppointment(cached, fresh)) {
            AppointmentInfo replaced;
            m_dataStore.TakeAppointment(key, replaced);
            m_dataStore.StoreAppointment(key, fresh);
        }
        return 1;
    }
    if (!isCached)
        return 0;
    m_dataStore.TakeAppointment(key, out);
    out.eventtype = kEventGone;
    KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCalendar::UpdateAppointmentByUNID",
                "Meeting[%s] was removed from the cache.", StringUtil::NarrowAnsi(key).c_str());
    return 1;
}
