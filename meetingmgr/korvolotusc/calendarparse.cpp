#include "calendarparse.h"

#include "notestext.h"
#include "noteunid.h"
#include "trace.h"

#include <cstring>
#include <string>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr size_t kLineBuffer = 256; // bytes of the line buffer: 255 characters and the NUL

// What GetCalendarLine found at the position.
enum class LineResult {
    kLine,    // a line is in the buffer
    kTooLong, // a line too long for the buffer was passed over
    kNone     // no CR LF follows: the walk ends
};

// Puts the line that starts at position into line and moves position past its CR LF.
LineResult GetCalendarLine(const char* text, size_t length, size_t& position, char* line) {
    std::memset(line, 0, kLineBuffer);
    size_t end = position;
    while (end + 1 < length && !(text[end] == '\r' && text[end + 1] == '\n'))
        ++end;
    if (end + 1 >= length) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetCalendarLine",
                    "Invalid Line!! BeginPosition[%d], calendar data length[%d]",
                    static_cast<int>(position), static_cast<int>(length));
        return LineResult::kNone;
    }
    const size_t lineLength = end - position;
    const size_t lineStart = position;
    position = end + 2;
    if (lineLength >= kLineBuffer) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetCalendarLine",
                    "The Line is too long, buffer is not enough, skip it!!");
        return LineResult::kTooLong;
    }
    std::memcpy(line, text + lineStart, lineLength);
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
    const std::string name(line, colon);
    const char* value = colon + 1;
    if (name == "X-LOTUS-ORGANIZER") {
        CopyValue(name.c_str(), value, entry.organizer, sizeof entry.organizer);
    } else if (name == "RECURRENCE-ID") {
        CopyValue(name.c_str(), value, entry.recurrenceId, sizeof entry.recurrenceId);
    } else if (name == "UID") {
        CopyValue(name.c_str(), value, entry.uid, sizeof entry.uid);
    } else if (name == "X-LOTUS-UNID") {
        CopyValue(name.c_str(), value, entry.unidText, sizeof entry.unidText);
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
