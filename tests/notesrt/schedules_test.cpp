// The free/busy calls: who gets a container, the busy times of the mail file in schedule
// lists of pieces ending with status 1006, the list block's layout, unreadable mail files,
// release, and planned failures of the calendar and schedule calls.
#include "mail_calendar.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// A name list without data type, locked, and its handle.
struct NameList {
    DHANDLE handle = 0;         // the list
    const LIST* list = nullptr; // its address while locked

    explicit NameList(const std::vector<std::string>& names) {
        void* pointer = nullptr;
        uint16_t size = 0;
        EXPECT_EQ(ListAllocate(0, 0, 0, &handle, &pointer, &size), 0);
        for (const std::string& name : names)
            EXPECT_EQ(
                ListAddEntry(handle, 0, &size, 0, name.c_str(), static_cast<uint16_t>(name.size())),
                0);
        list = static_cast<const LIST*>(pointer == nullptr ? nullptr : OSLockObject(handle));
        OSUnlockObject(handle);
    }
    ~NameList() {
        OSUnlockObject(handle);
        OSMemFree(handle);
    }
};

class ScheduleTest : public MailCalendarTest {
  public:
    // The container for names over the range.
    STATUS Retrieve(const std::vector<std::string>& names, const char* first, const char* last,
                    HCNTNR& container) {
        const NameList list(names);
        range = {Local(first), Local(last)};
        container = 0;
        return SchRetrieve(nullptr, nullptr, 10, &range, list.list, &container, nullptr, nullptr,
                           nullptr);
    }

    // "start end note" of each busy interval (local times, the note's UNID's last digits),
    // one list per line, and the status that ended the lists.
    std::string Lists(HCNTNR container, HCNTNROBJ object) {
        std::string lists;
        uint32_t size = 0;
        DHANDLE handle = 0;
        HCNTNROBJ more = 0;
        STATUS status = Schedule_ExtractSchedList(container, object, &range, &size, &handle, &more);
        while (status == 0) {
            const std::string block = TakeText(handle, size);
            SCHED_LIST head;
            std::memcpy(&head, block.data(), sizeof head);
            EXPECT_EQ(head.ApptUnidSize, 16);
            EXPECT_EQ(size, 8 + 36 * head.NumEntries);
            for (uint32_t i = 0; i < head.NumEntries; ++i) {
                SCHED_ENTRY entry;
                std::memcpy(&entry, block.data() + 8 + 36 * i, sizeof entry);
                char note[8];
                std::snprintf(note, sizeof note, "%03X", entry.ApptUnid.Note.Innards[0] & 0xFFF);
                lists += Text(entry.Interval.Lower) + "-" + Text(entry.Interval.Upper) + " " +
                         note + ";";
            }
            lists += "\n";
            status = Schedule_ExtractMoreSchedList(container, more, &range, &size, &handle, &more);
        }
        EXPECT_EQ(handle, 0u);
        return lists + std::to_string(status);
    }

    static std::string Text(const TIMEDATE& time) {
        char text[32];
        uint16_t length = 0;
        const TFMT format = {TDFMT_FULL_POS, TTFMT_PARTIAL, TZFMT_NEVER, TSFMT_DATETIME};
        ConvertTIMEDATEToText(nullptr, &format, &time, text, sizeof text, &length);
        return std::string(text, length);
    }

    TIMEDATE_PAIR range = {}; // the range of the last retrieval
};

constexpr char kUser[] = "CN=Ann Lee/O=Acme";

// One retrieval and the schedule lists of the user.
struct BusyCase {
    const char* name;               // the case
    const char* ini;                // notes.ini lines
    std::vector<std::string> names; // the name list
    const char* first;              // the range
    const char* last;
    std::string lists;    // what Lists gives; "none" for no container, or the FindSchedule status
    uint16_t serverError; // FindSchedule's server error
};

class BusyTest : public ScheduleTest, public testing::WithParamInterface<BusyCase> {};

TEST_P(BusyTest, ListsTheUsersBusyTimesInPieces) {
    const BusyCase& row = GetParam();
    Start(row.ini);
    HCNTNR container = 0;
    ASSERT_EQ(Retrieve(row.names, row.first, row.last, container), 0);
    std::string lists = "none";
    if (container != 0) {
        uint16_t serverError = 0xEEEE;
        uint32_t gatewayError = 0xEEEE;
        HCNTNROBJ object = 0;
        SCHEDULE* schedule = nullptr;
        const STATUS status = SchContainer_FindSchedule(
            container, "cn=ann lee/o=acme", &serverError, &gatewayError, &object, &schedule);
        EXPECT_EQ(serverError, row.serverError);
        EXPECT_EQ(gatewayError, 0u);
        lists = status != 0 ? "status " + std::to_string(status) : Lists(container, object);
        if (status == 0) {
            EXPECT_STREQ(schedule->Owner, kUser);
        }
        SchContainer_Free(container);
    }
    EXPECT_EQ(lists, row.lists);
}

INSTANTIATE_TEST_SUITE_P(
    Retrievals, BusyTest,
    testing::Values(
        BusyCase{"InPieces",
                 "NotesrtSchedulePiece=2\n",
                 {"CN=Bo Chen/O=Acme", kUser},
                 "12/07/2026 00:00:00",
                 "12/07/2026 23:59:00",
                 "12/06/2026 22:00-12/07/2026 02:00 108;12/07/2026 00:00-12/07/2026 01:00 120;\n"
                 "12/07/2026 09:00-12/07/2026 10:00 1F2;\n1006",
                 0},
        BusyCase{"RepeatingAcrossDst",
                 "",
                 {kUser},
                 "10/26/2026 00:00:00",
                 "11/30/2026 23:59:00",
                 "10/26/2026 09:00-10/26/2026 09:30 104;11/02/2026 09:00-11/02/2026 09:30 104;"
                 "11/09/2026 09:00-11/09/2026 09:30 104;\n1006",
                 0},
        BusyCase{
            "NoBusyTime", "", {kUser}, "01/04/2027 00:00:00", "01/08/2027 23:59:00", "\n1006", 0},
        BusyCase{"OtherPerson",
                 "",
                 {"CN=Bo Chen/O=Acme"},
                 "12/07/2026 00:00:00",
                 "12/07/2026 23:59:00",
                 "none",
                 0},
        BusyCase{"EmptyName", "", {""}, "12/07/2026 00:00:00", "12/07/2026 23:59:00", "none", 0},
        BusyCase{"NoName", "", {}, "12/07/2026 00:00:00", "12/07/2026 23:59:00", "none", 0},
        BusyCase{"MailFileMissing",
                 "MailServer=\nMailFile=gone.nsf\n",
                 {kUser},
                 "12/07/2026 00:00:00",
                 "12/07/2026 23:59:00",
                 "status 259",
                 259},
        BusyCase{"ServerUnreachable",
                 "MailServer=CN=Mail1/O=Acme\n",
                 {kUser},
                 "12/07/2026 00:00:00",
                 "12/07/2026 23:59:00",
                 "status 269",
                 269}),
    [](const testing::TestParamInfo<BusyCase>& row) { return std::string(row.param.name); });

TEST_F(ScheduleTest, ReleasedContainersAndUsedContinuationsAreInvalid) {
    Start();
    HCNTNR container = 0;
    ASSERT_EQ(Retrieve({kUser}, "12/07/2026 00:00:00", "12/07/2026 23:59:00", container), 0);
    HCNTNROBJ object = 0;
    EXPECT_EQ(SchContainer_FindSchedule(container, "CN=Bo Chen/O=Acme", nullptr, nullptr, &object,
                                        nullptr),
              ERR_NOT_FOUND);
    EXPECT_EQ(SchContainer_FindSchedule(container, kUser, nullptr, nullptr, &object, nullptr), 0);
    uint32_t size = 0;
    DHANDLE list = 0;
    HCNTNROBJ more = 0;
    ASSERT_EQ(Schedule_ExtractSchedList(container, object, &range, &size, &list, &more), 0);
    EXPECT_EQ(TakeText(list, size).size(), 8u + 3 * 36);
    const HCNTNROBJ continuation = more;
    EXPECT_EQ(Schedule_ExtractMoreSchedList(container, continuation, &range, &size, &list, &more),
              ERR_SCHED_NO_MORE_LISTS);
    EXPECT_EQ(Schedule_ExtractMoreSchedList(container, continuation, &range, &size, &list, &more),
              0x0108);
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.scheduleContainers, 1u);
    SchContainer_Free(container);
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.scheduleContainers, 0u);
    EXPECT_EQ(SchContainer_FindSchedule(container, kUser, nullptr, nullptr, &object, nullptr),
              0x0108);
}

class PlannedFaultTest;

// A call failed by plan: it returns the planned status, gives nothing back and leaves its
// outputs alone.
struct FaultCase {
    const char* call;                                        // the call
    STATUS (*run)(PlannedFaultTest& test, uint32_t* output); // makes it once
};

class PlannedFaultTest : public ScheduleTest, public testing::WithParamInterface<FaultCase> {
  public:
    using ScheduleTest::Retrieve;
    HCNTNR container = 0; // a container of the user over 12/07
    HCNTNROBJ object = 0; // the user's schedule
    HCNTNROBJ more = 0;   // the continuation of its first list
};

TEST_P(PlannedFaultTest, FailsWithThePlannedStatusAndGivesNothing) {
    Start();
    ASSERT_EQ(Retrieve({kUser}, "12/07/2026 00:00:00", "12/07/2026 23:59:00", container), 0);
    ASSERT_EQ(SchContainer_FindSchedule(container, kUser, nullptr, nullptr, &object, nullptr), 0);
    uint32_t size = 0;
    DHANDLE list = 0;
    ASSERT_EQ(Schedule_ExtractSchedList(container, object, &range, &size, &list, &more), 0);
    ASSERT_EQ(OSMemFree(list), 0);
    NotesrtCounts before;
    NotesrtGetCounts(&before);
    ASSERT_EQ(NotesrtSetFaults((std::string(GetParam().call) + "@1=0x1234").c_str()), 0);
    uint32_t output = 0xEEEEEEEE;
    EXPECT_EQ(GetParam().run(*this, &output), 0x1234);
    EXPECT_EQ(output, 0xEEEEEEEE);
    NotesrtCounts after;
    NotesrtGetCounts(&after);
    EXPECT_EQ(after.memoryAllocated + after.notes + after.scheduleContainers,
              before.memoryAllocated + before.notes + before.scheduleContainers);
    SchContainer_Free(container);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, PlannedFaultTest,
    testing::Values(FaultCase{"CalReadRange",
                              [](PlannedFaultTest& test, uint32_t* output) {
                                  uint16_t length = 0;
                                  uint16_t signal = 0;
                                  return CalReadRange(test.db, test.Local("12/07/2026 00:00:00"),
                                                      test.Local("12/07/2026 23:59:00"), 0,
                                                      0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, nullptr,
                                                      output, &length, nullptr, nullptr, &signal, 0,
                                                      nullptr);
                              }},
                    FaultCase{"CalOpenNoteHandle",
                              [](PlannedFaultTest& test, uint32_t* output) {
                                  return CalOpenNoteHandle(test.db,
                                                           "8A3F0C6D4E1B22F1C1257E2B0036A1F2",
                                                           nullptr, output, 0, nullptr);
                              }},
                    FaultCase{"SchRetrieve",
                              [](PlannedFaultTest& test, uint32_t* output) {
                                  const NameList list({kUser});
                                  return SchRetrieve(nullptr, nullptr, 10, &test.range, list.list,
                                                     output, nullptr, nullptr, nullptr);
                              }},
                    FaultCase{"SchContainer_FindSchedule",
                              [](PlannedFaultTest& test, uint32_t* output) {
                                  return SchContainer_FindSchedule(test.container, kUser, nullptr,
                                                                   output, output, nullptr);
                              }},
                    FaultCase{"Schedule_ExtractSchedList",
                              [](PlannedFaultTest& test, uint32_t* output) {
                                  HCNTNROBJ more = 0;
                                  return Schedule_ExtractSchedList(test.container, test.object,
                                                                   &test.range, output, output,
                                                                   &more);
                              }},
                    FaultCase{"Schedule_ExtractMoreSchedList",
                              [](PlannedFaultTest& test, uint32_t* output) {
                                  HCNTNROBJ more = 0;
                                  return Schedule_ExtractMoreSchedList(test.container, test.more,
                                                                       &test.range, output, output,
                                                                       &more);
                              }}),
    [](const testing::TestParamInfo<FaultCase>& row) { return std::string(row.param.call); });

} // namespace
