#include "mail_calendar.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

std::string CalendarFixture(const std::string& name) {
    std::ifstream file(std::string(CALENDAR_FIXTURES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void MailCalendarTest::SetUp() {
    const char* zone = std::getenv("TZ");
    const std::string name = zone == nullptr ? "" : zone;
    if (name != "UTC" && name != "America/New_York")
        GTEST_SKIP() << "needs TZ=UTC or TZ=America/New_York";
    newYork = name == "America/New_York";
}

void MailCalendarTest::Start(const std::string& extraIni, const std::string& database) {
    install.WriteStandard(extraIni + "MailFile=mail.nsf\n");
    install.Write("data/mail.nsf", database.empty() ? CalendarFixture("mail.nsf") : database);
    ASSERT_EQ(install.Start(), 0);
    ASSERT_EQ(NSFDbOpen("mail.nsf", &db), 0);
}

void MailCalendarTest::TearDown() {
    if (db == 0)
        return;
    NotesrtSetFaults(nullptr);
    EXPECT_EQ(NSFDbClose(db), 0);
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated + counts.memoryLocked +
                  counts.scheduleContainers,
              0u);
}

TIMEDATE MailCalendarTest::Local(const char* text) {
    char* cursor = const_cast<char*>(text);
    TIMEDATE time = {};
    EXPECT_EQ(ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 80, &time), 0) << text;
    return time;
}

std::string MailCalendarTest::TakeText(DHANDLE handle, size_t length) {
    const char* bytes = static_cast<const char*>(OSLockObject(handle));
    std::string text = bytes == nullptr ? std::string() : std::string(bytes, length);
    OSUnlockObject(handle);
    EXPECT_EQ(OSMemFree(handle), 0);
    return text;
}
