// The calendar calls: CalReadRange and CalOpenNoteHandle.
#include "calendarexport.h"
#include "memory.h"
#include "notes.h"
#include "timedate.h"

#include <algorithm>

using namespace notesrt;

namespace {

// Reads a recurrence ID, yyyymmddThhmmssZ, as seconds since 1970-01-01 00:00 UTC.
bool ReadRecurrenceId(const std::string& text, int64_t& seconds) {
    if (text.size() != 16 || text[8] != 'T' || text[15] != 'Z')
        return false;
    std::string isoText = text.substr(0, 4) + "-" + text.substr(4, 2) + "-" + text.substr(6, 2) +
                          "T" + text.substr(9, 2) + ":" + text.substr(11, 2) + ":" +
                          text.substr(13, 2) + "Z";
    TIMEDATE time;
    unsigned hundredths;
    return ParseIsoTime(isoText, time) && SplitTimeDate(time, seconds, hundredths);
}

// True when the repeating appointment at position has an instance starting at seconds (UTC).
bool HasInstanceAt(const Model& db, size_t position, int64_t seconds) {
    const std::vector<Occurrence> instances = OccurrencesOf(db, position);
    return std::any_of(instances.begin(), instances.end(), [seconds](const Occurrence& instance) {
        return instance.startAt >= seconds * 100 && instance.startAt < seconds * 100 + 100;
    });
}

// Lists in cursor the entries of calendar that its request reads: those starting from first to
// last, after the skipped ones and at most as many as the request names.
void ListRange(CalendarCursor& cursor, const std::shared_ptr<const Calendar>& calendar,
               int64_t first, int64_t last) {
    size_t begin;
    size_t count;
    OccurrencesInRange(*calendar, first, last, begin, count);
    const size_t skipped = std::min<size_t>(cursor.request.skipCount, count);
    cursor.calendar = calendar;
    cursor.first = begin + skipped;
    cursor.count = std::min<size_t>(cursor.request.maxReturnCount, count - skipped);
    cursor.latestEnd.resize(cursor.count);
    for (size_t i = cursor.count; i-- > 0;) {
        const int64_t end = calendar->occurrences[cursor.first + i].endAt;
        cursor.latestEnd[i] = i + 1 < cursor.count ? std::max(end, cursor.latestEnd[i + 1]) : end;
    }
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC CalReadRange(DBHANDLE db, TIMEDATE start, TIMEDATE end,
                                                    uint32_t skipCount, uint32_t maxReturnCount,
                                                    uint32_t returnMaskInfo,
                                                    uint32_t returnMaskData, void*,
                                                    DHANDLE* calData, uint16_t* calDataLength,
                                                    DHANDLE* uidData, uint32_t* entriesProcessed,
                                                    uint16_t* signalFlags, uint32_t flags, void*) {
    return RunCall("CalReadRange", true, [&](Runtime& runtime) -> STATUS {
        OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (calData == nullptr || calDataLength == nullptr)
            return kErrInvalidArgument;
        int64_t first;
        int64_t last;
        if (!InstantOf(start, first) || !InstantOf(end, last))
            return kErrTimeOutOfRange;
        CalendarRequest request;
        request.start = start;
        request.end = end;
        request.skipCount = skipCount;
        request.maxReturnCount = maxReturnCount;
        request.returnMaskInfo = returnMaskInfo;
        request.returnMaskData = returnMaskData;
        request.flags = flags;
        CalendarCursor& cursor = open->calendar;
        if (!cursor.active || !(cursor.request == request)) {
            cursor = CalendarCursor();
            cursor.request = request;
        }
        const std::shared_ptr<const Calendar> calendar = CalendarOf(*open->db);
        if (cursor.calendar != calendar)
            ListRange(cursor, calendar, first, last);
        if (cursor.delivered >= cursor.count) {
            cursor = CalendarCursor();
            return ERR_NOT_FOUND;
        }
        const Occurrence* events = calendar->occurrences.data() + cursor.first;
        std::string text;
        size_t count = 0;
        if (STATUS status = BuildCalendarAnswer(*open->db, events, cursor.count, cursor.delivered,
                                                runtime.install.pieces.calendar,
                                                cursor.latestEnd[cursor.delivered], text, count))
            return status;
        DHANDLE handle;
        if (STATUS status = NewBlock(runtime, text, &handle))
            return status;
        cursor.delivered += count;
        const bool more = cursor.delivered < cursor.count;
        if (more)
            cursor.active = true;
        else
            cursor = CalendarCursor();
        *calData = handle;
        *calDataLength = static_cast<uint16_t>(text.size());
        if (uidData != nullptr)
            *uidData = NULLHANDLE;
        if (entriesProcessed != nullptr)
            *entriesProcessed = static_cast<uint32_t>(count);
        if (signalFlags != nullptr)
            *signalFlags = more ? SIGNAL_MORE_TO_DO : 0;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC CalOpenNoteHandle(DBHANDLE db, const char* uid,
                                                         const char* recurrenceId, NOTEHANDLE* note,
                                                         uint32_t, void*) {
    return RunCall("CalOpenNoteHandle", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (uid == nullptr || note == nullptr)
            return kErrInvalidArgument;
        const bool instance = recurrenceId != nullptr && recurrenceId[0] != '\0';
        int64_t seconds = 0;
        if (instance && !ReadRecurrenceId(recurrenceId, seconds))
            return Fail(kErrBadTimeText, std::string("recurrence ID ") + recurrenceId);
        const Model& model = *open->db;
        const std::shared_ptr<const Calendar> calendar = CalendarOf(model);
        const auto& byUid = calendar->byUid;
        const std::string wanted = uid;
        auto found = std::lower_bound(byUid.begin(), byUid.end(), wanted,
                                      [](const std::pair<std::string, size_t>& entry,
                                         const std::string& key) { return entry.first < key; });
        for (; found != byUid.end() && found->first == wanted; ++found) {
            const size_t position = found->second;
            if (!instance || (IsRepeating(model, model.Notes()[position]) &&
                              HasInstanceAt(model, position, seconds)))
                return OpenNoteAt(runtime, db, *open, position, false, note);
        }
        return ERR_NOT_FOUND;
    });
}
