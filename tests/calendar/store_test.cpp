// The appointment and resolved-name cache, the meeting comparison, and concurrent use.
#include "appointmentstore.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace {

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
    store.EmailAddress = KORVO_W("ann.lee@acme.example");
    store.StoreAppointment(KORVO_W("k"), Meeting(KORVO_W("k"), KORVO_W("first")));
    store.StoreAppointment(KORVO_W("k"), Meeting(KORVO_W("k"), KORVO_W("second")));
    store.StoreAppointment(KORVO_W("K"), Meeting(KORVO_W("K"), KORVO_W("upper")));
    AppointmentInfo found;
    ASSERT_TRUE(store.FindAppointment(KORVO_W("k"), found));
    EXPECT_EQ(found.subject, KORVO_W("second"));
    found.attendees.clear();
    ASSERT_TRUE(store.TakeAppointment(KORVO_W("k"), found));
    EXPECT_EQ(found.attendees.size(), 2u) << "the cache shared its record";
    EXPECT_FALSE(store.TakeAppointment(KORVO_W("k"), found));
    EXPECT_FALSE(store.FindAppointment(KORVO_W("k"), found));
    ASSERT_TRUE(store.FindAppointment(KORVO_W("K"), found));
    EXPECT_EQ(found.subject, KORVO_W("upper"));
    store.Clear();
    EXPECT_FALSE(store.FindAppointment(KORVO_W("K"), found));
    EXPECT_EQ(store.EmailAddress, KORVO_W("ann.lee@acme.example"));
}

// The key order is std::less's on CString: differences before, inside and after the first
// four units, in the high byte of a unit, prefixes, and units above 0x7FFF.
TEST(NoteDataStoreTest, OrdersKeysByCodeUnits) {
    const CString keys[] = {KORVO_W(""),
                            KORVO_W("CN=A"),
                            KORVO_W("CN=Ann Lee"),
                            KORVO_W("CN=Ann Leb"),
                            KORVO_W("CN=Ann Lee/O=Acme"),
                            KORVO_W("cn=ann lee"),
                            KORVO_W("AN=Zed"),
                            KORVO_W("BN=Ann"),
                            CString{u'C', u'\u0141', u'z', u'z', u'z'},
                            CString{u'C', u'\u0241', u'a', u'a', u'a'},
                            CString{u'C', u'N', u'=', u'A', u'\u0141'},
                            CString{u'C', u'N', u'=', u'A', u'\u0241'},
                            CString{u'C', u'N', u'=', u'A', WCHAR(0xD83D), WCHAR(0xDE00)},
                            CString{u'C', u'N', u'=', u'A', u'\uFFFF'}};
    for (const CString& a : keys) {
        for (const CString& b : keys)
            EXPECT_EQ(CodeUnitLess()(a, b), std::less<CString>()(a, b));
    }
}

SYSTEMTIME At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute) {
    return SYSTEMTIME{year, month, 0, day, hour, minute, 30, 500};
}

struct DayRow {
    SYSTEMTIME storedAt; // local time of StoreResolvedName
    SYSTEMTIME foundAt;  // local time of a second store and of FindResolvedName
    bool found;          // whether the name is still fresh then
};

class ResolvedNameDayTest : public ::testing::TestWithParam<DayRow> {
  protected:
    void TearDown() override { platform::SetLocalTimeForTesting(nullptr); }
};

TEST_P(ResolvedNameDayTest, NameIsFreshUntilLocalMidnight) {
    const DayRow& row = GetParam();
    CNoteDataStore store;
    AttendeeInfo first;
    first.key = KORVO_W("Bob Stone");
    first.email = KORVO_W("old@acme.example");
    platform::SetLocalTimeForTesting(&row.storedAt);
    store.StoreResolvedName(first);
    EXPECT_EQ(first.lookupTime.wMinute, row.storedAt.wMinute) << "caller's record not stamped";

    platform::SetLocalTimeForTesting(&row.foundAt);
    AttendeeInfo second = first;
    second.email = KORVO_W("new@acme.example");
    store.StoreResolvedName(second);
    AttendeeInfo out;
    out.responseType = 3;
    ASSERT_EQ(store.FindResolvedName(KORVO_W("Bob Stone"), out), row.found);
    if (row.found) {
        EXPECT_EQ(out.email, KORVO_W("old@acme.example"));
        EXPECT_EQ(out.lookupTime.wDay, row.storedAt.wDay);
        EXPECT_EQ(out.responseType, 3);
    }
    platform::SetLocalTimeForTesting(&row.storedAt);
    EXPECT_EQ(store.FindResolvedName(KORVO_W("Bob Stone"), out), row.found)
        << "a stale name must be removed by the lookup that finds it stale";
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ResolvedNameDayTest,
    ::testing::Values(DayRow{At(2026, 3, 10, 23, 59), At(2026, 3, 11, 0, 0), false},
                      DayRow{At(2026, 3, 10, 0, 1), At(2026, 3, 10, 23, 59), true},
                      DayRow{At(2026, 3, 10, 9, 0), At(2026, 4, 10, 9, 0), false},
                      DayRow{At(2026, 3, 10, 9, 0), At(2027, 3, 10, 9, 0), false},
                      DayRow{At(2026, 3, 10, 9, 0), At(2026, 3, 9, 9, 0), false}));

using SameRow = std::pair<std::function<void(AppointmentInfo&)>, bool>; // change, still same

class IsSameAppointmentTest : public ::testing::TestWithParam<SameRow> {};

TEST_P(IsSameAppointmentTest, ComparesWhatTheHostSees) {
    AppointmentInfo base = Meeting(KORVO_W("0123456789ABCDEF"), KORVO_W("Review"));
    base.startTime = At(2026, 12, 7, 9, 0);
    base.korvocOIEx = KORVO_W("Client Data");
    AppointmentInfo changed = base;
    GetParam().first(changed);
    EXPECT_EQ(IsSameAppointment(base, changed), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, IsSameAppointmentTest,
    ::testing::Values(
        SameRow{[](AppointmentInfo& a) { a.startTime.wSecond = 59; }, true},
        SameRow{[](AppointmentInfo& a) { a.startTime.wMinute = 1; }, false},
        SameRow{[](AppointmentInfo& a) { a.endTime.wDay = 8; }, false},
        SameRow{[](AppointmentInfo& a) { a.subject = KORVO_W("REVIEW"); }, false},
        SameRow{[](AppointmentInfo& a) { a.korvocOIEx = KORVO_W("client DATA"); }, true},
        SameRow{[](AppointmentInfo& a) { a.isRecurrent = true; }, false},
        SameRow{[](AppointmentInfo& a) { a.entryID = KORVO_W("0123456789abcdef"); }, false},
        SameRow{[](AppointmentInfo& a) { a.hostName = a.hostEmail = a.apptUNID = KORVO_W("x"); },
                true},
        SameRow{[](AppointmentInfo& a) { a.attendees[0].name = KORVO_W("Bob"); }, true},
        SameRow{[](AppointmentInfo& a) { a.attendees[1].email = KORVO_W("rEVIEW"); }, true},
        SameRow{[](AppointmentInfo& a) { a.attendees[1].responseType = 3; }, false},
        SameRow{[](AppointmentInfo& a) { a.attendees.pop_back(); }, false}));

// Threads store, find, take and clear a few shared keys and names; every record handed out
// must agree with the key it was found under.
TEST(NoteDataStoreTest, ConcurrentUseHandsOutWholeRecords) {
    CNoteDataStore store;
    std::atomic<int> torn{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&store, &torn, t] {
            for (int round = 0; round < 3000; ++round) {
                const std::string ascii = "key" + std::to_string((round + t) % 7);
                const CString key(ascii.begin(), ascii.end());
                const CString subject = key + CString(40, KORVO_W('x'));
                AppointmentInfo out;
                AttendeeInfo name;
                name.key = key;
                name.email = subject;
                switch ((round + t) % 5) {
                case 0:
                    store.StoreAppointment(key, Meeting(key, subject));
                    break;
                case 1:
                    if (store.FindAppointment(key, out))
                        torn += out.subject != subject || out.attendees[1].email != subject;
                    break;
                case 2:
                    if (store.TakeAppointment(key, out))
                        torn += out.entryID != key;
                    break;
                case 3:
                    store.StoreResolvedName(name);
                    if (store.FindResolvedName(key, name))
                        torn += name.email != subject;
                    break;
                default:
                    if (round % 50 == 4)
                        store.Clear();
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(torn.load(), 0);
}

} // namespace
