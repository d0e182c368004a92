// Splitting calendar export text into entries: each sample under data/ics is parsed and its
// entries and messages are compared with the .expected file beside it.
#include "calendarparse.h"
#include "data_file.h"
#include "trace_recorder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace {

const std::filesystem::path kSamples = std::filesystem::path(KORVO_CALENDAR_DATA) / "ics";

// The entries, then the messages, one field per line.
std::string Describe(const std::vector<CalendarEventEntry>& entries,
                     const std::vector<korvo_test::TraceLine>& trace) {
    std::ostringstream out;
    for (const CalendarEventEntry& entry : entries) {
        char unid[40];
        std::snprintf(unid, sizeof unid, "%08X%08X%08X%08X", entry.unid.File.Innards[1],
                      entry.unid.File.Innards[0], entry.unid.Note.Innards[1],
                      entry.unid.Note.Innards[0]);
        out << "entry from=" << entry.fromSchedule << " type=" << entry.apptType << " unid=" << unid
            << "\n  uid=[" << entry.uid << "]\n  recurrenceId=[" << entry.recurrenceId
            << "]\n  organizer=[" << entry.organizer << "]\n  unidText=[" << entry.unidText
            << "]\n";
    }
    for (const korvo_test::TraceLine& line : trace)
        out << line << "\n";
    return out.str();
}

class CalendarSampleTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CalendarSampleTest, SplitsAsExpected) {
    const std::string name = GetParam();
    const std::string text = korvo_test::FileBytes(kSamples / (name + ".ics"));
    const std::string expected = korvo_test::FileBytes(kSamples / (name + ".expected"));
    ASSERT_FALSE(text.empty());
    ASSERT_FALSE(expected.empty());
    korvo_test::ClearTraceLines();
    std::vector<CalendarEventEntry> entries;
    ParseCalendarText(text.data(), text.size(), entries);
    EXPECT_EQ(Describe(entries, korvo_test::TakeTraceLines()), expected);
}

INSTANTIATE_TEST_SUITE_P(Samples, CalendarSampleTest,
                         ::testing::Values("notes_export", "desktop_client_export",
                                           "web_calendar_export", "line_limits", "structure",
                                           "no_final_crlf"),
                         [](const ::testing::TestParamInfo<const char*>& sample) {
                             return std::string(sample.param);
                         });

} // namespace
