// Time conversions, ranges, time items and lists, and durations, checked in the zone $TZ
// names: UTC or America/New_York (whose daylight saving time starts on 2026-03-08 and ends
// on 2026-11-01).
#include "notes_data_fixture.h"
#include "notestime.h"

#include <cstdlib>
#include <cstring>

namespace {

using korvo_test::Messages;
using korvo_test::ReportedLabels;
using korvo_test::TakeTraceLines;
using Strings = std::vector<std::string>;

// Index of the zone the test runs in (0 UTC, 1 New York); -1 for another zone.
int ZoneIndex() {
    const char* zone = std::getenv("TZ");
    if (zone != nullptr && std::strcmp(zone, "UTC") == 0)
        return 0;
    if (zone != nullptr && std::strcmp(zone, "America/New_York") == 0)
        return 1;
    return -1;
}

// The time as local "MM/DD/YYYY hh:mm:ss".
std::string Text(const TIMEDATE& time) {
    char text[80] = {};
    uint16_t length = 0;
    const TFMT format = {TDFMT_FULL_POS, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};
    ConvertTIMEDATEToText(nullptr, &format, &time, text, sizeof text - 1, &length);
    return std::string(text, length);
}

SYSTEMTIME Fields(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<uint16_t>(year);
    time.wMonth = static_cast<uint16_t>(month);
    time.wDay = static_cast<uint16_t>(day);
    time.wHour = static_cast<uint16_t>(hour);
    time.wMinute = static_cast<uint16_t>(minute);
    time.wSecond = static_cast<uint16_t>(second);
    time.wMilliseconds = 123;
    return time;
}

class TimeTest : public korvo_test::NotesDataTest {
  protected:
    void SetUp() override {
        if (ZoneIndex() < 0)
            GTEST_SKIP() << "TZ must be UTC or America/New_York";
        NotesDataTest::SetUp();
    }
    void TearDown() override {
        if (ZoneIndex() >= 0)
            NotesDataTest::TearDown();
    }
    CNotesCalendar m_calendar; // its range and buffer
};

TEST_F(TimeTest, SystemTimeIsWrittenYearFirstAndReadAsLocalTime) {
    TIMEDATE time = {};
    EXPECT_EQ(ConvertSYSTEMTIMEToNotesLocalTime(Fields(2011, 3, 5, 9, 7, 0), &time), 1);
    EXPECT_EQ(Text(time), "03/05/2011 09:07:00");
    EXPECT_EQ(ConvertSYSTEMTIMEToNotesLocalTime(Fields(2011, 13, 5, 9, 7, 0), &time), 0);
    EXPECT_EQ(time.Innards[0] | time.Innards[1], 0u);
    const auto trace = TakeTraceLines();
    EXPECT_EQ(trace.at(0).message, "NotesTime[2011/03/05 09:07:00]");
    EXPECT_EQ(ReportedLabels(trace),
              Strings{"ConvertSYSTEMTIMEToNotesLocalTime---ConvertTextToTIMEDATE"});
}

struct RangeRow {
    int year;
    unsigned month, day;
    std::string date;   // the day as text
    int32_t minutes[2]; // the range's length in UTC and in New York
};

class RangeTest : public TimeTest, public ::testing::WithParamInterface<RangeRow> {};

TEST_P(RangeTest, CoversTheLocalDay) {
    const RangeRow& row = GetParam();
    const FILETIME day = korvo_test::DayAt1530(row.year, row.month, row.day);
    SetCalendarTimeRange(m_calendar, day, day);
    EXPECT_EQ(Text(m_calendar.m_tdRangeStart), row.date + " 00:00:00");
    EXPECT_EQ(Text(m_calendar.m_tdRangeEnd), row.date + " 23:59:00");
    EXPECT_EQ(GetTimeDuration(m_calendar.m_tdRangeStart, m_calendar.m_tdRangeEnd),
              row.minutes[ZoneIndex()]);
}

INSTANTIATE_TEST_SUITE_P(Days, RangeTest,
                         ::testing::Values(RangeRow{2026, 3, 8, "03/08/2026", {1439, 1379}},
                                           RangeRow{2026, 11, 1, "11/01/2026", {1439, 1499}},
                                           RangeRow{2026, 12, 7, "12/07/2026", {1439, 1439}}));

struct AppointmentRow {
    const char* item; // a time item of note 100
    int hour[2];      // the UTC hour the conversion gives in UTC and in New York
};

class AppointmentTimeTest : public TimeTest,
                            public ::testing::WithParamInterface<AppointmentRow> {};

TEST_P(AppointmentTimeTest, GivesUtcFields) {
    const AppointmentRow& row = GetParam();
    TIMEDATE time = {};
    ASSERT_TRUE(GetTimeByNoteItem(OpenNote(100), row.item, &time));
    SYSTEMTIME fields = {};
    fields.wDayOfWeek = 9;
    ASSERT_EQ(ConvertAppointmentTimeToSYSTEMTIME(time, &fields), 1);
    EXPECT_EQ(fields.wHour, row.hour[ZoneIndex()]);
    EXPECT_EQ(fields.wMinute + fields.wSecond, 0);
    EXPECT_EQ(fields.wDayOfWeek, 9);
}

INSTANTIATE_TEST_SUITE_P(Items, AppointmentTimeTest,
                         ::testing::Values(AppointmentRow{"StartDateTime", {9, 9}},
                                           AppointmentRow{"SummerStart", {9, 9}},
                                           AppointmentRow{"LocalStart", {9, 13}}));

TEST_F(TimeTest, MissingTimeItem) {
    TIMEDATE time = {};
    EXPECT_FALSE(GetTimeByNoteItem(OpenNote(100), "Subject", &time));
    EXPECT_EQ(Messages(TakeTraceLines()), Strings{"Fail to get time for Note item[Subject]!!"});
}

struct ListRow {
    NOTEID note;            // the repeating appointment
    unsigned month, day;    // the range's first day in 2026
    int result;             // GetTimeListByNoteItem's answer
    std::string start, end; // the instance's times
    Strings messages;       // what is logged, the error handler's lines by their labels
};

class TimeListTest : public TimeTest, public ::testing::WithParamInterface<ListRow> {};

TEST_P(TimeListTest, PicksTheInstanceOnTheRangeStartDate) {
    const ListRow& row = GetParam();
    ASSERT_TRUE(m_calendar.AllocateTextBuffer());
    const FILETIME day = korvo_test::DayAt1530(2026, row.month, row.day);
    SetCalendarTimeRange(m_calendar, day, day);
    const NOTEHANDLE note = OpenNote(row.note);
    TakeTraceLines();
    TIMEDATE start = {};
    TIMEDATE end = {};
    EXPECT_EQ(GetTimeListByNoteItem(m_calendar, note, &start, &end), row.result);
    if (row.result == 1) {
        EXPECT_EQ(Text(start), row.start);
        EXPECT_EQ(Text(end), row.end);
    }
    Strings messages;
    for (const auto& line : TakeTraceLines())
        messages.push_back(line.function == "NotesAPIErrHandler" ? ReportedLabels({line}).at(0)
                                                                 : line.message);
    EXPECT_EQ(messages, row.messages);
}

const char kConvertLabel[] = "ConvertSYSTEMTIMEToNotesLocalTime---ConvertTextToTIMEDATE";

INSTANTIATE_TEST_SUITE_P(
    Instances, TimeListTest,
    ::testing::Values(ListRow{116, 3, 7, 1, "03/07/2026 09:00:00", "03/07/2026 10:00:00", {}},
                      ListRow{116, 3, 8, 1, "03/08/2026 09:00:00", "03/08/2026 10:30:00", {}},
                      ListRow{116, 3, 9, 1, "03/09/2026 09:00:00", "03/09/2026 11:00:00", {}},
                      ListRow{116, 3, 10, 0, "", "", {}},
                      ListRow{120, 3, 8, 0, "", "", {kConvertLabel}},
                      ListRow{korvo_test::kLongTimesNote,
                              1,
                              5,
                              0,
                              "",
                              "",
                              {"Time List buffer is not enough !!", kConvertLabel}}));

TEST_F(TimeTest, TimeListNeedsTheSharedBuffer) {
    TIMEDATE start = {};
    TIMEDATE end = {};
    EXPECT_EQ(GetTimeListByNoteItem(m_calendar, OpenNote(116), &start, &end), 0);
    EXPECT_EQ(Messages(TakeTraceLines()), Strings{"Invalid parameters!!"});
}

struct DurationRow {
    SYSTEMTIME start, end; // local times
    int32_t minutes;       // GetTimeDuration's answer
    bool refused;          // whether it is logged as invalid
};

class DurationTest : public TimeTest, public ::testing::WithParamInterface<DurationRow> {};

TEST_P(DurationTest, CountsWholeMinutes) {
    const DurationRow& row = GetParam();
    TIMEDATE start = {};
    TIMEDATE end = {};
    ConvertSYSTEMTIMEToNotesLocalTime(row.start, &start);
    ConvertSYSTEMTIMEToNotesLocalTime(row.end, &end);
    TakeTraceLines();
    EXPECT_EQ(GetTimeDuration(start, end), row.minutes);
    EXPECT_EQ(Messages(TakeTraceLines()),
              row.refused ? Strings{"Begin time is not lager than end time !!! invalid!!!"}
                          : Strings{});
}

INSTANTIATE_TEST_SUITE_P(
    Durations, DurationTest,
    ::testing::Values(
        DurationRow{Fields(2026, 3, 8, 9, 0, 0), Fields(2026, 3, 8, 9, 1, 29), 1, false},
        DurationRow{Fields(2026, 3, 8, 9, 0, 0), Fields(2026, 3, 8, 11, 0, 59), 120, false},
        DurationRow{Fields(2026, 3, 8, 9, 0, 0), Fields(2026, 3, 8, 9, 0, 0), 0, true},
        DurationRow{Fields(2026, 3, 8, 9, 0, 1), Fields(2026, 3, 8, 9, 0, 0), 0, true}));

} // namespace
