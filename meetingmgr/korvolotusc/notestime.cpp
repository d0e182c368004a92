#include "notestime.h"

#include "notesclib.h"
#include "stringutil.h"
#include "trace.h"

#include "platform/clock.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr uint16_t kYearMonthDayFlags = DATE_4DIGIT_YEAR | DATE_YMD | CLOCK_24_HOUR; // 0x188
constexpr size_t kTimeTextSize = 80; // bytes of a time text: 79 characters and a NUL
constexpr char kListSeparator = ';'; // separates the entries of a time-list text
constexpr int32_t kSecondsPerMinute = 60;
constexpr char kConvertLabel[] = "ConvertSYSTEMTIMEToNotesLocalTime---ConvertTextToTIMEDATE";

// Text formats: the full date with a four-digit year, hours:minutes:seconds, no zone.
constexpr TFMT kDateAndTimeFormat = {TDFMT_FULL4, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};
constexpr TFMT kDateOnlyFormat = {TDFMT_FULL4, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATE};

// The runtime's international settings.
INTLFORMAT GetIntlSettings() {
    INTLFORMAT settings;
    std::memset(&settings, 0, sizeof settings);
    OSGetIntlSettings(&settings, sizeof settings);
    return settings;
}

// Converts text (date and time) with the given settings (null: the runtime's defaults).
STATUS TextToTimeDate(const INTLFORMAT* settings, const char* text, TIMEDATE* out) {
    char* position = const_cast<char*>(text);
    return ConvertTextToTIMEDATE(settings, &kDateAndTimeFormat, &position, kTimeTextSize, out);
}

// Reads itemName of the note as a ";"-separated time-list text into buffer.
void ReadTimeList(NOTEHANDLE note, const char* itemName, char* buffer) {
    std::memset(buffer, 0, kBodyBufferSize);
    const size_t length = NSFItemConvertToText(
        note, itemName, buffer, static_cast<uint16_t>(kBodyBufferSize), kListSeparator);
    if (length >= kBodyBufferSize)
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetTimeListByNoteItem",
                    "Time List buffer is not enough !!");
    else
        buffer[length] = '\0';
}

// Converts the list entry that starts at entry (up to the next ";", at most 79 characters).
bool ConvertListEntry(const char* entry, TIMEDATE* out) {
    char text[kTimeTextSize] = {};
    StringUtil::GetSubString(entry, kListSeparator, kTimeTextSize, text);
    const STATUS status = TextToTimeDate(nullptr, text, out);
    if (status != NOERROR) {
        NotesAPIErrHandler(kConvertLabel, status);
        return false;
    }
    return true;
}

} // namespace

int ConvertSYSTEMTIMEToNotesLocalTime(const SYSTEMTIME& time, TIMEDATE* out) {
    INTLFORMAT settings = GetIntlSettings();
    settings.Flags = kYearMonthDayFlags;
    char text[kTimeTextSize] = {};
    std::snprintf(text, sizeof text, "%04d%s%02d%s%02d %02d%s%02d%s%02d", time.wYear,
                  settings.DateString, time.wMonth, settings.DateString, time.wDay, time.wHour,
                  settings.TimeString, time.wMinute, settings.TimeString, time.wSecond);
    KORVO_TRACE(PM_SDK::kLevelProgress, "ConvertSYSTEMTIMEToNotesLocalTime", "NotesTime[%s]", text);
    *out = TIMEDATE{};
    const STATUS status = TextToTimeDate(&settings, text, out);
    if (status != NOERROR) {
        NotesAPIErrHandler(kConvertLabel, status);
        return 0;
    }
    return 1;
}

int ConvertNotesTimeToSYSTEMTIME(const TIMEDATE& time, SYSTEMTIME* out) {
    const INTLFORMAT settings = GetIntlSettings();
    TIME fields;
    std::memset(&fields, 0, sizeof fields);
    fields.zone = settings.TimeZone;
    fields.GM = time;
    const int result = TimeGMToLocal(&fields);
    if (result == 1)
        std::memset(out, 0, sizeof *out);
    if (result != 0)
        return 0;
    out->wYear = static_cast<uint16_t>(fields.year);
    out->wMonth = static_cast<uint16_t>(fields.month);
    out->wDay = static_cast<uint16_t>(fields.day);
    out->wHour = static_cast<uint16_t>(fields.hour);
    out->wMinute = static_cast<uint16_t>(fields.minute);
    out->wSecond = static_cast<uint16_t>(fields.second);
    return 1;
}

int ConvertAppointmentTimeToSYSTEMTIME(const TIMEDATE& time, SYSTEMTIME* out) {
    const INTLFORMAT settings = GetIntlSettings();
    TIMEDATE shifted = time;
    const STATUS status = TimeDateAdjust(&shifted, 0, 0, settings.TimeZone, 0, 0, 0);
    if (status != NOERROR) {
        NotesAPIErrHandler("TimeDateAdjust", status);
        return 0;
    }
    return ConvertNotesTimeToSYSTEMTIME(shifted, out);
}

void SetCalendarTimeRange(CNotesCalendar& calendar, const FILETIME& start, const FILETIME& end) {
    SYSTEMTIME first = {};
    SYSTEMTIME last = {};
    platform::FileTimeToSystemTime(&start, &first);
    platform::FileTimeToSystemTime(&end, &last);
    first.wHour = 0;
    first.wMinute = 0;
    first.wSecond = 0;
    last.wHour = 23;
    last.wMinute = 59;
    last.wSecond = 0;
    ConvertSYSTEMTIMEToNotesLocalTime(first, &calendar.m_tdRangeStart);
    ConvertSYSTEMTIMEToNotesLocalTime(last, &calendar.m_tdRangeEnd);
}

void GetNoteTimeString(const TIMEDATE& time, char* buffer) {
    uint16_t length = 0;
    const STATUS status = ConvertTIMEDATEToText(nullptr, &kDateOnlyFormat, &time, buffer,
                                                kNoteTimeStringSize - 1, &length);
    if (status != NOERROR) {
        NotesAPIErrHandler("ConvertTIMEDATEToText", status);
        length = 0;
    }
    if (length > kNoteTimeStringSize - 1) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetNoteTimeString",
                    "ConvertTIMEDATEToText return invalid date string[len=%d]!!",
                    static_cast<int>(length));
        length = kNoteTimeStringSize - 1;
    }
    buffer[length] = '\0';
}

bool GetTimeByNoteItem(NOTEHANDLE note, const char* itemName, TIMEDATE* time) {
    if (NSFItemGetTime(note, itemName, time) != 0)
        return true;
    KORVO_TRACE(PM_SDK::kLevelFailure, "GetTimeByNoteItem", "Fail to get time for Note item[%s]!!",
                itemName);
    return false;
}

int GetTimeListByNoteItem(CNotesCalendar& calendar, NOTEHANDLE note, TIMEDATE* start,
                          TIMEDATE* end) {
    char* const buffer = calendar.m_pTextBuffer.get();
    if (buffer == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetTimeListByNoteItem", "Invalid parameters!!");
        return 0;
    }
    ReadTimeList(note, "StartDateTime", buffer);

    char date[kNoteTimeStringSize] = {};
    GetNoteTimeString(calendar.m_tdRangeStart, date);
    if (date[0] == '\0') {
        KORVO_TRACE(PM_SDK::kLevelFailure,
                    "CNotesCalendar::ParseRecurrenceAppointmentStartTimeFromTimeList",
                    "Fail to get Date string !!");
        return 0;
    }
    const char* const occurrence = std::strstr(buffer, date);
    if (occurrence == nullptr)
        return 0;
    const size_t index = static_cast<size_t>(
        std::count(static_cast<const char*>(buffer), occurrence, kListSeparator));
    if (!ConvertListEntry(occurrence, start))
        return 0;

    ReadTimeList(note, "EndDateTime", buffer);
    const char* entry = buffer;
    for (size_t i = 0; i < index && *entry != '\0'; ++i) {
        const char* const separator = std::strchr(entry, kListSeparator);
        entry = separator != nullptr ? separator + 1 : entry + std::strlen(entry);
    }
    return ConvertListEntry(entry, end) ? 1 : 0;
}

int32_t GetTimeDuration(const TIMEDATE& start, const TIMEDATE& end) {
    if (TimeDateCompare(&start, &end) >= 0) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetTimeDuration",
                    "Begin time is not lager than end time !!! invalid!!!");
        return 0;
    }
    return static_cast<int32_t>(TimeDateDifference(&end, &start) / kSecondsPerMinute);
}
