// The free/busy additions: busy appointments spanning the range start are added once by
// UNID, after the export's entries; boundaries, empty lists, an empty user name, an
// unreadable mail file and every runtime call failed by injection.
#include "calendarparse.h"
#include "freebusy.h"
#include "mail_case.h"
#include "noteunid.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

using korvo_test::MailCase;
using korvo_test::MailCaseTest;

// Appointment notes by the last digits of their UNIDs.
constexpr char kNightShift[] = "5B7E1A2C3D4F5061C1257E2B00400108"; // 12/06 22:00 to 12/07 02:00

TIMEDATE_PAIR Range(const char* first, const char* last) {
    return {MailCaseTest::Local(first), MailCaseTest::Local(last)};
}

// The entries the schedule adds for 12/07, after those already held (the note of unid).
template <const char* held = nullptr> std::string Busy(MailCaseTest&) {
    std::vector<CalendarEventEntry> entries;
    if (held != nullptr) {
        entries.emplace_back();
        ConvertNoteUNIDFromChar(held, &entries.back().unid);
    }
    GetMatchedScheduledList(Range("12/07/2026 00:00:00", "12/07/2026 23:59:00"), entries);
    return MailCaseTest::Describe(entries);
}

std::string NoBusyTime(MailCaseTest&) {
    std::vector<CalendarEventEntry> entries;
    GetMatchedScheduledList(Range("01/04/2027 00:00:00", "01/08/2027 23:59:00"), entries);
    return MailCaseTest::Describe(entries);
}

std::string MailFileGone(MailCaseTest& test) {
    std::filesystem::remove(test.m_installation.DataDirectory() / "mail.nsf");
    return Busy(test);
}

// The export of 12/07 read as the calendar search reads it, then the schedule's additions.
std::string ExportThenBusy(MailCaseTest& test) {
    const TIMEDATE_PAIR range = Range("12/07/2026 00:00:00", "12/07/2026 23:59:00");
    std::vector<CalendarEventEntry> entries;
    uint16_t signal = SIGNAL_MORE_TO_DO;
    while ((signal & SIGNAL_MORE_TO_DO) != 0) {
        DHANDLE text = NULLHANDLE;
        uint16_t length = 0;
        signal = 0;
        if (CalReadRange(test.m_db, range.Lower, range.Upper, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                         nullptr, &text, &length, nullptr, nullptr, &signal, 0, nullptr) != NOERROR)
            break;
        ParseCalendarData(text, length, entries);
    }
    GetMatchedScheduledList(range, entries);
    return MailCaseTest::Describe(entries);
}

// A schedule list block made here: a busy time of 12/07 from..to (hours, 24 for the next
// midnight) per entry, each with the UNID whose last word is its number.
struct MadeBusy {
    int from;      // start hour
    int to;        // end hour
    uint32_t unid; // last word of the UNID
};

// ParseMatchedScheduleEntries over a made block, with the range starting 12/07 09:00 and
// an entry of UNID word 4 already held; handle 0 when there is no busy time.
template <int count> std::string Block(MailCaseTest&) {
    static const MadeBusy kBusy[] = {{8, 10, 1}, {9, 10, 2}, {7, 9, 3},
                                     {8, 10, 1}, {8, 11, 4}, {6, 24, 5}};
    DHANDLE handle = NULLHANDLE;
    if (count >= 0) {
        OSMemAlloc(0, static_cast<uint32_t>(8 + 36 * count), &handle);
        char* block = static_cast<char*>(OSLockObject(handle));
        const SCHED_LIST head = {static_cast<uint32_t>(count), 16, 0};
        std::memcpy(block, &head, sizeof head);
        for (int i = 0; i < count; ++i) {
            char from[32];
            char to[32];
            std::snprintf(from, sizeof from, "12/07/2026 %02d:00:00", kBusy[i].from);
            std::snprintf(to, sizeof to, "12/0%d/2026 %02d:00:00", kBusy[i].to / 24 + 7,
                          kBusy[i].to % 24);
            SCHED_ENTRY entry = {};
            entry.ApptUnid.Note.Innards[0] = kBusy[i].unid;
            entry.Interval = {MailCaseTest::Local(from), MailCaseTest::Local(to)};
            std::memcpy(block + 8 + 36 * i, &entry, sizeof entry);
        }
        OSUnlockObject(handle);
    }
    std::vector<CalendarEventEntry> entries(1);
    entries[0].unid.Note.Innards[0] = 4;
    ParseMatchedScheduleEntries(Range("12/07/2026 09:00:00", "12/07/2026 23:59:00"), handle,
                                entries);
    return MailCaseTest::Describe(entries);
}

constexpr char kExtract[] = "Schedule_ExtractSchedList--Schedule_ExtractMoreSchedList";

INSTANTIATE_TEST_SUITE_P(
    FreeBusy, MailCaseTest,
    ::testing::Values(
        MailCase{"SpanningRangeStart", nullptr, Busy<>, "1/5 108\n", {}},
        MailCase{"AlreadyListed", nullptr, Busy<kNightShift>, "0/0 108\n", {}},
        MailCase{"AfterTheExport",
                 nullptr,
                 ExportThenBusy,
                 "0/0 120 5B7E1A2C3D4F5061C1257E2B00400120\n"
                 "0/3 1F2 8A3F0C6D4E1B22F1C1257E2B0036A1F2\n"
                 "0/0 112 5B7E1A2C3D4F5061C1257E2B00400112\n1/5 108\n",
                 {}},
        MailCase{"NoBusyTime", nullptr, NoBusyTime, "", {}},
        MailCase{"Boundaries", nullptr, Block<6>, "0/0 004\n1/5 001\n1/5 005\n", {}},
        MailCase{"ZeroEntries", nullptr, Block<0>, "0/0 004\n", {}},
        MailCase{"NoBlock", nullptr, Block<-1>, "0/0 004\n", {"Invalid paramter:hContianer[0x0]"}},
        MailCase{"EmptyUserName",
                 "SECKFMUserInfo@1=0x0109",
                 Busy<>,
                 "",
                 {"SECKFMUserInfo", "Invalid parameter !!",
                  "Invalid paramter:hContianer[0x0],UserName[]"}},
        MailCase{"MailFileGone",
                 nullptr,
                 MailFileGone,
                 "",
                 {"SchContainer_FindSchedule", "Domino Server error[259], Gateway error[0]"}},
        MailCase{"ListAllocateFails", "ListAllocate@1=0x0109", Busy<>, "", {"ListAllocate"}},
        MailCase{"ListAddEntryFails",
                 "ListAddEntry@1=0x010E",
                 Busy<>,
                 "",
                 {"ListAddEntry", "Invalid paramter:hContianer[0x0],UserName[CN=Ann Lee/O=Acme]"}},
        MailCase{"RetrieveFails", "SchRetrieve@1=0x0109", Busy<>, "", {"SchRetrieve"}},
        MailCase{"FindFails",
                 "SchContainer_FindSchedule@1=0x0404",
                 Busy<>,
                 "",
                 {"SchContainer_FindSchedule", "Domino Server error[0], Gateway error[0]"}},
        MailCase{"ExtractFails", "Schedule_ExtractSchedList@1=0x0108", Busy<>, "", {kExtract}},
        MailCase{"ExtractMoreFails",
                 "Schedule_ExtractMoreSchedList@1=0x0108",
                 Busy<>,
                 "1/5 108\n",
                 {kExtract}}),
    korvo_test::MailCaseName);

} // namespace
