#include "calendarparse.h"

#include "notestext.h"
#include "noteunid.h"
#include "trace.h"

#include <cstring>
#include <string_view>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr size_t kLineBuffer = 256; // bytes of the line buffer: 255 characters and the NUL

// What GetCalendarLine found at the position.
enum class LineResult {
    kLine,    // a line is in the buffer
    kTooLong, // a line too long for the buffer was passed over
    kNone     // no CR LF follows: the walk ends
};

// The CR of the first CR LF in [begin, end), or nullptr when there is none.
const char* FindLineEnd(const char* begin, const char* end) {
    while (end - begin >= 2) {
        const char* cr = static_cast<const char*>(
            std::memchr(begin, '\r', static_cast<size_t>(end - begin - 1)));
        if (cr == nullptr)
            return nullptr;
        if (cr[1] == '\n')
            return cr;
        begin = cr + 1;
    }
    return nullptr;
}

// Puts the line that starts at position into line and moves position past its CR LF.
LineResult GetCalendarLine(const char* text, size_t length, size_t& position, char* line) {
    const char* start = text + position;
    const char* end = FindLineEnd(start, text + length);
    if (end == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetCalendarLine",
                    "Invalid Line!! BeginPosition[%d], calendar data length[%d]",
                    static_cast<int>(position), static_cast<int>(length));
        return LineResult::kNone;
    }
    const size_t lineLength = static_cast<size_t>(end - start);
    position += lineLength + 2;
    if (lineLength >= kLineBuffer) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetCalendarLine",
                    "The Line is too long, buffer is not enough, skip it!!");
        return LineResult::kTooLong;
    }
    std::memcpy(line, start, lineLength);
    line[lineLength] = '\0';
    return LineResult::kLine;
}

// Copies value into field (size bytes), cutting it to size - 1 characters with a message.
void CopyValue(const char* name, const char* value, char* field, size_t size) {
    size_t length = std::strlen(value);
    if (length >= size) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ParseCalendarEventItem",
                    "Value of [%s] is too long, cut to %d characters!!", name,
                    static_cast<int>(size - 1));
        length = size - 1;
    }
    std::memcpy(field, value, length);
    field[length] = '\0';
}

// The appointment type an X-LOTUS-APPTTYPE value starts with: 0 to 4, else 5.
int32_t AppointmentTypeOf(const char* value) {
    constexpr int32_t kOtherType = 5;
    return value[0] >= '0' && value[0] <= '4' ? value[0] - '0' : kOtherType;
}

} // namespace

void ParseCalendarEventItem(const char* line, CalendarEventEntry& entry) {
    const char* colon = std::strchr(line, ':');
    if (colon == nullptr || colon[1] == '\0') {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ParseCalendarEventItem",
                    "No Item Value in Calendar Line[%s]!!", line);
        return;
    }
    static constexpr char kOrganizer[] = "X-LOTUS-ORGANIZER";
    static constexpr char kRecurrenceId[] = "RECURRENCE-ID";
    static constexpr char kUid[] = "UID";
    static constexpr char kUnid[] = "X-LOTUS-UNID";
    const std::string_view name(line, static_cast<size_t>(colon - line));
    const char* value = colon + 1;
    if (name == kOrganizer) {
        CopyValue(kOrganizer, value, entry.organizer, sizeof entry.organizer);
    } else if (name == kRecurrenceId) {
        CopyValue(kRecurrenceId, value, entry.recurrenceId, sizeof entry.recurrenceId);
    } else if (name == kUid) {
        CopyValue(kUid, value, entry.uid, sizeof entry.uid);
    } else if (name == kUnid) {
        CopyValue(kUnid, value, entry.unidText, sizeof entry.unidText);
        ConvertNoteUNIDFromChar(value, &entry.unid);
    } else if (name == "X-LOTUS-APPTTYPE") {
        entry.apptType = AppointmentTypeOf(value);
    }
}

void ParseCalendarText(const char* text, size_t length, std::vector<CalendarEventEntry>& entries) {
    CalendarEventEntry current{};
    char line[kLineBuffer];
    size_t position = 0;
    while (position < length) {
        const LineResult result = GetCalendarLine(text, length, position, line);
        if (result == LineResult::kNone)
            break;
        if (result == LineResult::kTooLong || std::strcmp(line, "BEGIN:VCALENDAR") == 0)
            continue;
        if (std::strcmp(line, "END:VCALENDAR") == 0)
            break;
        if (std::strcmp(line, "BEGIN:VEVENT") == 0)
            current = CalendarEventEntry{};
        else if (std::strcmp(line, "END:VEVENT") == 0)
            entries.push_back(current);
        else
            ParseCalendarEventItem(line, current);
    }
}

void ParseCalendarData(DHANDLE handle, uint16_t length, std::vector<CalendarEventEntry>& entries) {
    if (handle == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ParseCalendarData", "Invalid Calendar Data!!");
        return;
    }
    TextEntry text;
    ConstructTextEntry(static_cast<const char*>(OSLockObject(handle)), length, text);
    OSUnlockObject(handle);
    OSMemFree(handle);
    ParseCalendarText(text.c_str(), text.length, entries);
}
