#include "mail_case.h"

#include "notesrt_testing.h"
#include "trace_recorder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace korvo_test {

void MailCaseTest::SetUp() {
    const char* zone = std::getenv("TZ");
    if (zone == nullptr ||
        (std::strcmp(zone, "UTC") != 0 && std::strcmp(zone, "America/New_York") != 0))
        GTEST_SKIP() << "TZ must be UTC or America/New_York";
    NotesrtReset();
    std::ifstream file(std::string(CALENDAR_FIXTURES) + "/mail.nsf", std::ios::binary);
    m_installation.WriteDataFile("mail.nsf", std::string(std::istreambuf_iterator<char>(file), {}));
    std::string dir = PathText(m_installation.Root());
    std::string ini = "=" + PathText(m_installation.IniPath());
    char* argv[] = {dir.data(), ini.data()};
    ASSERT_EQ(NotesInitExtended(2, argv), 0);
    ASSERT_EQ(NSFDbOpen("mail.nsf", &m_db), 0);
}

void MailCaseTest::TearDown() {
    if (m_db == NULLHANDLE)
        return;
    NotesrtSetFaults(nullptr);
    EXPECT_EQ(NSFDbClose(m_db), 0);
    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated + counts.memoryLocked +
                  counts.scheduleContainers,
              0u);
    NotesrtReset();
}

TIMEDATE MailCaseTest::Local(const char* text) {
    char* cursor = const_cast<char*>(text);
    TIMEDATE time = {};
    ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 80, &time);
    return time;
}

std::string MailCaseTest::Describe(const std::vector<CalendarEventEntry>& entries) {
    std::string text;
    for (const CalendarEventEntry& entry : entries) {
        char line[64];
        std::snprintf(line, sizeof line, "%d/%d %03X", entry.fromSchedule, entry.apptType,
                      entry.unid.Note.Innards[0] & 0xFFF);
        text += line;
        if (entry.uid[0] != '\0')
            text += std::string(" ") + entry.uid;
        if (entry.recurrenceId[0] != '\0')
            text += std::string(" ") + entry.recurrenceId;
        text += "\n";
    }
    return text;
}

TEST_P(MailCaseTest, GivesTheResultAndTheMessages) {
    const MailCase& row = GetParam();
    ClearTraceLines();
    ASSERT_EQ(NotesrtSetFaults(row.faults), 0);
    const std::string out = row.run(*this);
    NotesrtSetFaults(nullptr);
    EXPECT_EQ(out, row.out);
    std::vector<std::string> logged;
    for (const TraceLine& line : TakeTraceLines())
        logged.push_back(line.function == "NotesAPIErrHandler"
                             ? line.message.substr(0, line.message.find(" -- error["))
                             : line.message);
    EXPECT_EQ(logged, row.logged);
}

std::string MailCaseName(const ::testing::TestParamInfo<MailCase>& info) {
    return info.param.name;
}

} // namespace korvo_test
