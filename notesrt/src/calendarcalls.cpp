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

// True when the repeating appointment has an instance starting at seconds (UTC).
bool HasInstanceAt(const Note& note, size_t position, int64_t seconds) {
    const std::vector<Occurrence> instances = OccurrencesOf(note, position);
    return std::any_of(instances.begin(), instances.end(), [seconds](const Occurrence& instance) {
        return instance.startAt >= seconds * 100 && instance.startAt < seconds * 100 + 100;
    });
}

} // namespace

extern "C" NOTESRT_API STATUS CalReadRange(DBHANDLE db, TIMEDATE start, TIMEDATE end,
                                           uint32_t skipCount, uint32_t maxReturnCount,
                                           uint32_t returnMaskInfo, uint32_t returnMaskData, void*,
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

        std::vector<Occurrence> events = OccurrencesInRange(*open->db, first, last);
        events.erase(events.begin(), events.begin() + std::min<size_t>(skipCount, events.size()));
        events.resize(std::min<size_t>(maxReturnCount, events.size()));
        if (cursor.delivered >= events.size()) {
            cursor = CalendarCursor();
            return ERR_NOT_FOUND;
        }
        std::string text;
        size_t count = 0;
        if (STATUS status = BuildCalendarAnswer(*open->db, events, cursor.delivered,
                                                runtime.install.pieces.calendar, text, count))
            return status;
        DHANDLE handle;
        if (STATUS status = NewBlock(runtime, text, &handle))
            return status;
        cursor.delivered += count;
        const bool more = cursor.delivered < events.size();
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

extern "C" NOTESRT_API STATUS CalOpenNoteHandle(DBHANDLE db, const char* uid,
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
        const std::vector<Note>& notes = open->db->notes;
        for (size_t position = 0; position < notes.size(); ++position) {
            const Note& candidate = notes[position];
            if (!IsAppointment(candidate) || UidOf(candidate) != uid)
                continue;
            if (!instance ||
                (IsRepeating(candidate) && HasInstanceAt(candidate, position, seconds)))
                return OpenNoteAt(runtime, db, *open, position, false, note);
        }
        return ERR_NOT_FOUND;
    });
}
