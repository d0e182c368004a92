// The appointment and resolved-name cache, the meeting comparison, and the store under
// concurrent use.
#include "appointmentstore.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace {

CString W(const std::string& ascii) {
    return CString(ascii.begin(), ascii.end());
}

AppointmentInfo Meeting(const CString& key, const CString& subject) {
    AppointmentInfo record;
    record.entryID = key;
    record.subject = subject;
    record.attendees.resize(2);
    record.attendees[1].email = subject;
    return record;
}

TEST(NoteDataStoreTest, KeepsOneCopyPerExactKey) {
    CNoteDataStore store;
    store.EmailAddress = W("ann.lee@acme.example");
    store.StoreAppointment(W("k"), Meeting(W("k"), W("first")));
    EXPECT_TRUE(store.StoreAppointment(W("k"), Meeting(W("k"), W("second"))));
    store.StoreAppointment(W("K"), Meeting(W("K"), W("upper")));

    AppointmentInfo found;
    ASSERT_TRUE(store.FindAppointment(W("k"), found));
    EXPECT_EQ(found.subject, W("second"));
    found.attendees.clear();
    ASSERT_TRUE(store.TakeAppointment(W("k"), found));
    EXPECT_EQ(found.attendees.size(), 2u) << "the cache handed out a shared record";

    AppointmentInfo untouched = Meeting(W("x"), W("untouched"));
    EXPECT_FALSE(store.TakeAppointment(W("k"), untouched));
    EXPECT_FALSE(store.FindAppointment(W("k"), untouched));
    EXPECT_EQ(untouched.subject, W("untouched"));
    ASSERT_TRUE(store.FindAppointment(W("K"), found));
    EXPECT_EQ(found.subject, W("upper"));

    store.Clear();
    EXPECT_FALSE(store.FindAppointment(W("K"), found));
    EXPECT_EQ(store.EmailAddress, W("ann.lee@acme.example"));
}

SYSTEMTIME At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute) {
    return SYSTEMTIME{year, month, 0, day, hour, minute, 30, 500};
}

// Puts the local clock back on the real time at the end of a test.
class FixedClockTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::SetLocalTimeForTesting(nullptr); }
    static void SetClock(const SYSTEMTIME& now) { platform::SetLocalTimeForTesting(&now); }
};

struct DayRow {
    const char* label;
    SYSTEMTIME storedAt; // local time of StoreResolvedName
    SYSTEMTIME foundAt;  // local time of FindResolvedName
    bool found;          // whether the name is still fresh then
};

std::ostream& operator<<(std::ostream& out, const DayRow& row) {
    return out << row.label;
}

class ResolvedNameDayTest : public FixedClockTest, public ::testing::WithParamInterface<DayRow> {};

TEST_P(ResolvedNameDayTest, NameIsFreshUntilLocalMidnight) {
    const DayRow& row = GetParam();
    CNoteDataStore store;
    AttendeeInfo record;
    record.key = W("Bob Stone");
    record.email = W("bob.stone@acme.example");
    SetClock(row.storedAt);
    store.StoreResolvedName(record);

    SetClock(row.foundAt);
    AttendeeInfo out;
    out.recipType = 2;
    out.attendType = 1;
    out.responseType = 3;
    ASSERT_EQ(store.FindResolvedName(W("Bob Stone"), out), row.found);
    if (row.found) {
        EXPECT_EQ(out.email, W("bob.stone@acme.example"));
        EXPECT_EQ(out.lookupTime.wMinute, row.storedAt.wMinute);
        EXPECT_EQ(out.recipType + out.attendType + out.responseType, 6) << "numbers overwritten";
    } else {
        SetClock(row.storedAt);
        EXPECT_FALSE(store.FindResolvedName(W("Bob Stone"), out)) << "a stale entry stayed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ResolvedNameDayTest,
    ::testing::Values(
        DayRow{"MidnightPassed", At(2026, 3, 10, 23, 59), At(2026, 3, 11, 0, 0), false},
        DayRow{"SameDay", At(2026, 3, 10, 0, 1), At(2026, 3, 10, 23, 59), true},
        DayRow{"OnlyMonthDiffers", At(2026, 3, 10, 9, 0), At(2026, 4, 10, 9, 0), false},
        DayRow{"OnlyYearDiffers", At(2026, 3, 10, 9, 0), At(2027, 3, 10, 9, 0), false},
        DayRow{"ClockWentBack", At(2026, 3, 10, 9, 0), At(2026, 3, 9, 9, 0), false}),
    [](const ::testing::TestParamInfo<DayRow>& row) { return std::string(row.param.label); });

TEST_F(FixedClockTest, StoringAKnownNameKeepsTheFirstEntry) {
    CNoteDataStore store;
    AttendeeInfo first;
    first.key = W("Bob Stone");
    first.email = W("old@acme.example");
    SetClock(At(2026, 3, 10, 8, 0));
    store.StoreResolvedName(first);
    EXPECT_EQ(first.lookupTime.wHour, 8) << "the caller's record is stamped";

    AttendeeInfo second = first;
    second.email = W("new@acme.example");
    second.lookupTime = {};
    SetClock(At(2026, 3, 10, 9, 0));
    store.StoreResolvedName(second);
    EXPECT_EQ(second.lookupTime.wHour, 0);

    AttendeeInfo out;
    ASSERT_TRUE(store.FindResolvedName(W("Bob Stone"), out));
    EXPECT_EQ(out.email, W("old@acme.example"));
    EXPECT_EQ(out.lookupTime.wHour, 8);
}

struct SameRow {
    const char* label;
    std::function<void(AppointmentInfo&)> change; // applied to a copy of the base meeting
    bool same;                                    // IsSameAppointment(base, changed)
};

std::ostream& operator<<(std::ostream& out, const SameRow& row) {
    return out << row.label;
}

class IsSameAppointmentTest : public ::testing::TestWithParam<SameRow> {};

TEST_P(IsSameAppointmentTest, ComparesWhatTheHostSees) {
    AppointmentInfo base = Meeting(W("0123456789ABCDEF0123456789ABCDEF"), W("Review"));
    base.startTime = At(2026, 12, 7, 9, 0);
    base.endTime = At(2026, 12, 7, 10, 0);
    base.korvocOIEx = W("Client Data");
    base.attendees[0].email = W("bob.stone@acme.example");
    AppointmentInfo changed = base;
    GetParam().change(changed);
    EXPECT_EQ(IsSameAppointment(base, changed), GetParam().same);
    EXPECT_EQ(IsSameAppointment(changed, base), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, IsSameAppointmentTest,
    ::testing::Values(
        SameRow{"Unchanged", [](AppointmentInfo&) {}, true},
        SameRow{"StartSeconds", [](AppointmentInfo& a) { a.startTime.wSecond = 59; }, true},
        SameRow{"StartWeekday", [](AppointmentInfo& a) { a.startTime.wDayOfWeek = 4; }, true},
        SameRow{"StartMinute", [](AppointmentInfo& a) { a.startTime.wMinute = 1; }, false},
        SameRow{"EndDay", [](AppointmentInfo& a) { a.endTime.wDay = 8; }, false},
        SameRow{"SubjectCase", [](AppointmentInfo& a) { a.subject = W("REVIEW"); }, false},
        SameRow{"Description", [](AppointmentInfo& a) { a.description = W("x"); }, false},
        SameRow{"ClientDataCase", [](AppointmentInfo& a) { a.korvocOIEx = W("client DATA"); },
                true},
        SameRow{"ClientData", [](AppointmentInfo& a) { a.korvocOIEx = W("Client"); }, false},
        SameRow{"Recurrence", [](AppointmentInfo& a) { a.isRecurrent = true; }, false},
        SameRow{"BusyStatus", [](AppointmentInfo& a) { a.busyStatus = 2; }, false},
        SameRow{"EntryIdCase", [](AppointmentInfo& a) { a.entryID[10] = KORVO_W('a'); }, false},
        SameRow{"HostAndIds",
                [](AppointmentInfo& a) {
                    a.hostName = W("Ann");
                    a.hostEmail = W("ann@acme.example");
                    a.apptType = 8;
                    a.apptUNID = W("X");
                    a.eventtype = 14;
                },
                true},
        SameRow{"AttendeeName", [](AppointmentInfo& a) { a.attendees[0].name = W("Bob"); }, true},
        SameRow{"AttendeeEmailCase",
                [](AppointmentInfo& a) { a.attendees[0].email = W("Bob.Stone@ACME.example"); },
                true},
        SameRow{"AttendeeEmail",
                [](AppointmentInfo& a) { a.attendees[0].email = W("bob@acme.example"); }, false},
        SameRow{"AttendeeResponse", [](AppointmentInfo& a) { a.attendees[1].responseType = 3; },
                false},
        SameRow{"AttendeeOrder",
                [](AppointmentInfo& a) { std::swap(a.attendees[0], a.attendees[1]); }, false},
        SameRow{"AttendeeCount", [](AppointmentInfo& a) { a.attendees.pop_back(); }, false}),
    [](const ::testing::TestParamInfo<SameRow>& row) { return std::string(row.param.label); });

// Several threads store, find, take and clear the same few keys and names. Every record
// handed out must be whole: its members agree with the key it was found under.
TEST(NoteDataStoreTest, ConcurrentUseHandsOutWholeRecords) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 3000;
    CNoteDataStore store;
    std::atomic<int> torn{0};
    std::atomic<int> hits{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&store, &torn, &hits, t] {
            for (int round = 0; round < kRounds; ++round) {
                const CString key = W("key" + std::to_string((round + t) % 7));
                const CString subject = key + W(std::string(40, 'x'));
                AppointmentInfo out;
                switch ((round + t) % 5) {
                case 0:
                    store.StoreAppointment(key, Meeting(key, subject));
                    break;
                case 1:
                    if (store.FindAppointment(key, out)) {
                        ++hits;
                        torn += out.subject != subject || out.attendees[1].email != subject;
                    }
                    break;
                case 2:
                    if (store.TakeAppointment(key, out))
                        torn += out.entryID != key;
                    break;
                case 3: {
                    AttendeeInfo name;
                    name.key = key;
                    name.email = subject;
                    store.StoreResolvedName(name);
                    AttendeeInfo found;
                    if (store.FindResolvedName(key, found))
                        torn += found.email != subject;
                    break;
                }
                default:
                    if (t == 0 && round % 50 == 4)
                        store.Clear();
                    break;
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_GT(hits.load(), 0);
}

} // namespace
