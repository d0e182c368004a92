// Calendar entries on tests/data/calendar/mail.nsf (schedule lists of one entry each), in
// UTC and New York: opening an entry's note by the note ID of its UNID, by UNID and by UID
// with and without a recurrence ID; the free/busy additions (busy appointments spanning the
// range start, once by UNID, after the export's entries), their boundaries, empty lists, an
// empty user name, an unreadable mail file; every runtime call failed by injection.
#include "calendaropen.h"
#include "calendarparse.h"
#include "data_file.h"
#include "freebusy.h"
#include "noteunid.h"
#include "runtime_case.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

class MailCaseTest;
using Case = korvo_test::RuntimeCase<MailCaseTest>;

class MailCaseTest : public ::testing::TestWithParam<Case> {
  public:
    void SetUp() override {
        if (!korvo_test::InKnownZone())
            GTEST_SKIP() << "TZ must be UTC or America/New_York";
        NotesrtReset();
        m_installation.WriteDataFile("mail.nsf",
                                     korvo_test::FileBytes(CALENDAR_FIXTURES "/mail.nsf"));
        ASSERT_EQ(korvo_test::StartRuntime(m_installation), 0);
        ASSERT_EQ(NSFDbOpen("mail.nsf", &m_db), 0);
    }
    void TearDown() override {
        if (m_db == NULLHANDLE)
            return;
        NotesrtSetFaults(nullptr);
        EXPECT_EQ(NSFDbClose(m_db), 0);
        EXPECT_EQ(korvo_test::OpenHandles(), 0u);
        NotesrtReset();
    }

    static TIMEDATE Local(const char* text) {
        char* cursor = const_cast<char*>(text);
        TIMEDATE time = {};
        ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 80, &time);
        return time;
    }

    // One entry a line: fromSchedule/apptType, the UNID's last three digits, the UID and the
    // recurrence ID when set.
    static std::string Describe(const std::vector<CalendarEventEntry>& entries) {
        std::string text;
        for (const CalendarEventEntry& entry : entries) {
            char line[16];
            std::snprintf(line, sizeof line, "%d/%d %03X", entry.fromSchedule, entry.apptType,
                          entry.unid.Note.Innards[0] & 0xFFF);
            text += line + std::string(entry.uid[0] ? " " : "") + entry.uid +
                    (entry.recurrenceId[0] ? " " : "") + entry.recurrenceId + "\n";
        }
        return text;
    }

    korvo_test::NotesInstallation m_installation{{"MailFile=mail.nsf", "NotesrtSchedulePiece=1"}};
    DBHANDLE m_db = NULLHANDLE; // mail.nsf
};

TEST_P(MailCaseTest, GivesTheResultAndTheMessages) {
    korvo_test::CheckCase(*this, GetParam());
}

constexpr char kReview[] = "8A3F0C6D4E1B22F1C1257E2B0036A1F2"; // note 100
constexpr char kUnknown[] = "00000000000000000000000000000001";
constexpr char kSeries[] = "F00DFEEDF00DFEEDF00DFEEDF00DFEED";   // UID of note 104
constexpr char kPlanning[] = "0123456789ABCDEF0123456789ABCDEF"; // UID of note 136
constexpr char kPlanningInstance[] = "20261221T140000Z";

// Opens the entry with UNID text unid, UID uid and recurrence ID recurrence (in db, or in no
// database when noDatabase) and gives the result and the note ID opened.
template <const char* unid, const char* uid = nullptr, const char* recurrence = nullptr,
          bool mime = false, bool noDatabase = false>
std::string Open(MailCaseTest& test) {
    CalendarEventEntry entry{};
    ConvertNoteUNIDFromChar(unid, &entry.unid);
    std::strcpy(entry.uid, uid == nullptr ? "" : uid);
    std::strcpy(entry.recurrenceId, recurrence == nullptr ? "" : recurrence);
    korvo_test::ClearTraceLines();
    NOTEHANDLE note = 1;
    const int opened = OpenAppointment(noDatabase ? NULLHANDLE : test.m_db, entry, &note, mime);
    NOTEID noteId = 0;
    NSFNoteGetInfo(note, _NOTE_ID, &noteId);
    if (note != NULLHANDLE)
        NSFNoteClose(note);
    return std::to_string(opened) + " " + std::to_string(noteId);
}

constexpr char kNotFound[] = "NSFDbGetNoteInfoByUNID";
constexpr char kByUnid[] = "OpenNoteByUNID---NSFNoteOpenByUNID";
constexpr char kAgain[] = "try to open note again by UID...";

INSTANTIATE_TEST_SUITE_P(
    OpenAppointment, MailCaseTest,
    ::testing::Values(
        Case("ByNoteId", nullptr, Open<kReview, kSeries>, "1 100", {}),
        Case("NoteIdFailsThenUnid", "NSFNoteOpenExt@1=0x0111", Open<kReview>, "1 100",
             {"OpenNoteByNoteID---NSFNoteOpenExt"}),
        Case("MimeSkipsUnid", "NSFNoteOpenExt@1=0x0111", Open<kReview, nullptr, nullptr, true>,
             "0 0", {"OpenNoteByNoteID---NSFNoteOpenExt"}),
        Case("ByUid", nullptr, Open<kUnknown, kSeries>, "1 104",
             {kNotFound, kByUnid, kAgain, "UID[F00DFEEDF00DFEEDF00DFEEDF00DFEED]!!"}),
        Case("ByUidAndInstance", nullptr, Open<kUnknown, kPlanning, kPlanningInstance>, "1 136",
             {kNotFound, kByUnid, kAgain,
              "UID[0123456789ABCDEF0123456789ABCDEF],RecurID[20261221T140000Z]!!"}),
        Case("NoSuchInstance", nullptr, Open<kUnknown, kSeries, kPlanningInstance>, "0 0",
             {kNotFound, kByUnid, kAgain,
              "UID[F00DFEEDF00DFEEDF00DFEEDF00DFEED],RecurID[20261221T140000Z]!!",
              "OpenNoteByUID---CalOpenNoteHandle"}),
        Case("NoUid", nullptr, Open<kUnknown>, "0 0", {kNotFound, kByUnid}),
        Case("NoDatabase", nullptr, Open<kReview, kSeries, nullptr, false, true>, "0 0",
             {"Invalid parameters!!", "Invalid parameters!!", kAgain, "Invalid parameters!!"})),
    korvo_test::RowName<Case>);

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

// ParseMatchedScheduleEntries over a block made here of the first count busy times below
// (hours after 12/07 00:00, and the UNID's last word), handle 0 for a count below 0, with the
// range starting 12/07 09:00 and an entry of UNID word 4 already held.
template <int count> std::string Block(MailCaseTest&) {
    static const int kBusy[][3] = {{8, 10, 1}, {9, 10, 2}, {7, 9, 3},
                                   {8, 10, 1}, {8, 11, 4}, {6, 24, 5}};
    const TIMEDATE midnight = MailCaseTest::Local("12/07/2026 00:00:00");
    DHANDLE handle = NULLHANDLE;
    if (count >= 0) {
        OSMemAlloc(0, static_cast<uint32_t>(8 + 36 * count), &handle);
        char* block = static_cast<char*>(OSLockObject(handle));
        const SCHED_LIST head = {static_cast<uint32_t>(count), 16, 0};
        std::memcpy(block, &head, sizeof head);
        for (int i = 0; i < count; ++i) {
            SCHED_ENTRY entry = {};
            entry.Unid.Note.Innards[0] = static_cast<uint32_t>(kBusy[i][2]);
            entry.Interval = {midnight, midnight};
            TimeDateAdjust(&entry.Interval.Lower, 0, 0, kBusy[i][0], 0, 0, 0);
            TimeDateAdjust(&entry.Interval.Upper, 0, 0, kBusy[i][1], 0, 0, 0);
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
        Case("SpanningRangeStart", nullptr, Busy<>, "1/5 108\n", {}),
        Case("AlreadyListed", nullptr, Busy<kNightShift>, "0/0 108\n", {}),
        Case("AfterTheExport", nullptr, ExportThenBusy,
             "0/0 120 5B7E1A2C3D4F5061C1257E2B00400120\n"
             "0/3 1F2 8A3F0C6D4E1B22F1C1257E2B0036A1F2\n"
             "0/0 112 5B7E1A2C3D4F5061C1257E2B00400112\n1/5 108\n",
             {}),
        Case("NoBusyTime", nullptr, NoBusyTime, "", {}),
        Case("NoExportBlock", nullptr,
             [](MailCaseTest&) {
                 std::vector<CalendarEventEntry> entries(1);
                 ParseCalendarData(NULLHANDLE, 10, entries);
                 return MailCaseTest::Describe(entries);
             },
             "0/0 000\n", {"Invalid Calendar Data!!"}),
        Case("Boundaries", nullptr, Block<6>, "0/0 004\n1/5 001\n1/5 005\n", {}),
        Case("ZeroEntries", nullptr, Block<0>, "0/0 004\n", {}),
        Case("NoBlock", nullptr, Block<-1>, "0/0 004\n", {"Invalid paramter:hContianer[0x0]"}),
        Case("EmptyUserName", "SECKFMUserInfo@1=0x0109", Busy<>, "",
             {"SECKFMUserInfo", "Invalid parameter !!",
              "Invalid paramter:hContianer[0x0],UserName[]"}),
        Case("MailFileGone", nullptr, MailFileGone, "",
             {"SchContainer_FindSchedule", "Domino Server error[259], Gateway error[0]"}),
        Case("ListAddEntryFails", "ListAddEntry@1=0x010E", Busy<>, "",
             {"ListAddEntry", "Invalid paramter:hContianer[0x0],UserName[CN=Ann Lee/O=Acme]"}),
        Case("FindFails", "SchContainer_FindSchedule@1=0x0404", Busy<>, "",
             {"SchContainer_FindSchedule", "Domino Server error[0], Gateway error[0]"}),
        Case("ExtractMoreFails", "Schedule_ExtractMoreSchedList@1=0x0108", Busy<>, "1/5 108\n",
             {kExtract})),
    korvo_test::RowName<Case>);

} // namespace
