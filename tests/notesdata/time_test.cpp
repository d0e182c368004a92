// Time conversions, ranges, time items and lists, and durations, in UTC and in New York,
// whose daylight saving time starts on 2026-03-08 and ends on 2026-11-01.
#include "notes_data_fixture.h"
#include "notestime.h"

namespace {

using korvo_test::Case;
using korvo_test::NotesDataTest;

// The time as local "MM/DD/YYYY hh:mm:ss".
std::string Text(const TIMEDATE& time) {
    char text[80] = {};
    uint16_t length = 0;
    const TFMT format = {TDFMT_FULL4, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};
    ConvertTIMEDATEToText(nullptr, &format, &time, text, sizeof text, &length);
    return std::string(text, length);
}

// ConvertSYSTEMTIMEToNotesLocalTime's answer and time for a day of 2026 at 09:07.
template <uint16_t month> std::string FromFields(NotesDataTest&) {
    const SYSTEMTIME fields = {2026, month, 0, 5, 9, 7, 0, 999};
    TIMEDATE time = {{1, 1}};
    const int result = ConvertSYSTEMTIMEToNotesLocalTime(fields, &time);
    return std::to_string(result) + " " + (time.Innards[0] == 0 ? "" : Text(time));
}

// The range set from a day and its length in minutes.
template <unsigned month, unsigned day> std::string Range(NotesDataTest& test) {
    const FILETIME time = korvo_test::DayAt1530(month, day);
    SetCalendarTimeRange(test.m_calendar, time, time);
    const TIMEDATE& start = test.m_calendar.m_tdRangeStart;
    const TIMEDATE& end = test.m_calendar.m_tdRangeEnd;
    return Text(start) + " " + Text(end) + " " + std::to_string(GetTimeDuration(start, end));
}

// The UTC fields an appointment time of note 100 converts to ("failed" for none).
template <const char* item> std::string Appointment(NotesDataTest& test) {
    TIMEDATE time = {};
    SYSTEMTIME fields = {};
    if (!GetTimeByNoteItem(test.OpenNote(100), item, &time) ||
        !ConvertAppointmentTimeToSYSTEMTIME(time, &fields))
        return "failed";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fields.wYear, fields.wMonth,
                  fields.wDay, fields.wHour, fields.wMinute, fields.wSecond);
    return text;
}

// ConvertNotesTimeToSYSTEMTIME's answer for a time that is not representable, and whether
// it cleared the fields.
std::string Unrepresentable(NotesDataTest&) {
    SYSTEMTIME fields = {1, 1, 1, 1, 1, 1, 1, 1};
    const int result = ConvertNotesTimeToSYSTEMTIME({{0xFFFFFFFF, 0}}, &fields);
    return std::to_string(result) + (fields.wYear + fields.wMilliseconds == 0 ? " cleared" : "");
}

// The instance of a repeating note on the range's first day of 2026 ("0" for none).
template <NOTEID note, unsigned month, unsigned day> std::string Instance(NotesDataTest& test) {
    const FILETIME time = korvo_test::DayAt1530(month, day);
    SetCalendarTimeRange(test.m_calendar, time, time);
    korvo_test::ClearTraceLines();
    TIMEDATE start = {};
    TIMEDATE end = {};
    if (GetTimeListByNoteItem(test.m_calendar, test.OpenNote(note), &start, &end) != 1)
        return "0";
    return Text(start) + " " + Text(end);
}

// Minutes from 09:00:00 to 09:minute:second on a day.
template <uint16_t minute, uint16_t second> std::string Duration(NotesDataTest&) {
    TIMEDATE start = {};
    TIMEDATE end = {};
    ConvertSYSTEMTIMEToNotesLocalTime({2026, 3, 0, 8, 9, 0, 0, 0}, &start);
    ConvertSYSTEMTIMEToNotesLocalTime({2026, 3, 0, 8, 9, minute, second, 0}, &end);
    korvo_test::ClearTraceLines();
    return std::to_string(GetTimeDuration(start, end));
}

constexpr char kSummer[] = "SummerStart", kLocal[] = "LocalStart", kSubject[] = "Subject";
const char kConvert[] = "ConvertSYSTEMTIMEToNotesLocalTime---ConvertTextToTIMEDATE";
const char kInvalid[] = "Begin time is not lager than end time !!! invalid!!!";
const char kInstance[] = "03/08/2026 09:00:00 03/08/2026 10:30:00";

INSTANTIATE_TEST_SUITE_P(
    Times, NotesDataTest,
    ::testing::Values(
        Case("FromFields", nullptr, FromFields<3>, "1 03/05/2026 09:07:00",
             {"NotesTime[2026/03/05 09:07:00]"}),
        Case("FromBadFields", nullptr, FromFields<13>, "0 ",
             {"NotesTime[2026/13/05 09:07:00]", kConvert}),
        Case("SpringForward", nullptr, Range<3, 8>, "03/08/2026 00:00:00 03/08/2026 23:59:00 1439",
             {"NotesTime[2026/03/08 00:00:00]", "NotesTime[2026/03/08 23:59:00]"},
             "03/08/2026 00:00:00 03/08/2026 23:59:00 1379"),
        Case("FallBack", nullptr, Range<11, 1>, "11/01/2026 00:00:00 11/01/2026 23:59:00 1439",
             {"NotesTime[2026/11/01 00:00:00]", "NotesTime[2026/11/01 23:59:00]"},
             "11/01/2026 00:00:00 11/01/2026 23:59:00 1499"),
        Case("UtcAppointment", nullptr, Appointment<kSummer>, "2026-07-07 09:00:00", {},
             "2026-07-07 09:00:00"),
        Case("LocalAppointment", nullptr, Appointment<kLocal>, "2026-07-07 09:00:00", {},
             "2026-07-07 13:00:00"),
        Case("NoTime", nullptr, Appointment<kSubject>, "failed",
             {"Fail to get time for Note item[Subject]!!"}),
        Case("Unrepresentable", nullptr, Unrepresentable, "0 cleared", {}),
        Case("ItemTimeFails", "NSFItemGetTime@1=1", Appointment<kSummer>, "failed",
             {"Fail to get time for Note item[SummerStart]!!"}),
        Case("BreakdownFails", "TimeGMToLocal@1=1", Appointment<kSummer>, "failed", {}),
        Case("Instance", nullptr, Instance<116, 3, 8>, kInstance, {}),
        Case("NoInstance", nullptr, Instance<116, 3, 10>, "0", {}),
        Case("EndListShort", nullptr, Instance<120, 3, 8>, "0", {kConvert}),
        Case("LongList", nullptr, Instance<korvo_test::kLongTimesNote, 1, 5>, "0",
             {"Time List buffer is not enough !!", kConvert}),
        Case("ListTextFails", "NSFItemConvertToText@1=1", Instance<116, 3, 8>, "0", {}),
        Case("DateTextFails", "ConvertTIMEDATEToText@1=1", Instance<116, 3, 8>, "0",
             {"ConvertTIMEDATEToText", "Fail to get Date string !!"}),
        Case("NoBuffer", nullptr,
             [](NotesDataTest& test) {
                 test.m_calendar.FreeTextBuffer();
                 return Instance<116, 3, 8>(test);
             },
             "0", {"Invalid parameters!!"}),
        Case("Seconds89", nullptr, Duration<1, 29>, "1", {}),
        Case("SameTime", nullptr, Duration<0, 0>, "0", {kInvalid})),
    korvo_test::RowName<Case>);

} // namespace
