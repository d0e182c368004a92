// Opening the note of a calendar entry: by the note ID of its UNID, by UNID, and by UID with
// and without a recurrence ID, with the fallbacks and messages of each failure.
#include "calendaropen.h"
#include "mail_case.h"
#include "noteunid.h"
#include "trace_recorder.h"

#include <cstring>

namespace {

using korvo_test::MailCase;
using korvo_test::MailCaseTest;

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
        MailCase{"ByNoteId", nullptr, Open<kReview, kSeries>, "1 100", {}},
        MailCase{"NoteIdFailsThenUnid",
                 "NSFNoteOpenExt@1=0x0111",
                 Open<kReview>,
                 "1 100",
                 {"OpenNoteByNoteID---NSFNoteOpenExt"}},
        MailCase{"MimeSkipsUnid",
                 "NSFNoteOpenExt@1=0x0111",
                 Open<kReview, nullptr, nullptr, true>,
                 "0 0",
                 {"OpenNoteByNoteID---NSFNoteOpenExt"}},
        MailCase{"ByUid",
                 nullptr,
                 Open<kUnknown, kSeries>,
                 "1 104",
                 {kNotFound, kByUnid, kAgain, "UID[F00DFEEDF00DFEEDF00DFEEDF00DFEED]!!"}},
        MailCase{"ByUidWithMime",
                 nullptr,
                 Open<kUnknown, kSeries, nullptr, true>,
                 "1 104",
                 {kNotFound, kAgain, "UID[F00DFEEDF00DFEEDF00DFEEDF00DFEED]!!"}},
        MailCase{"ByUidAndInstance",
                 nullptr,
                 Open<kUnknown, kPlanning, kPlanningInstance>,
                 "1 136",
                 {kNotFound, kByUnid, kAgain,
                  "UID[0123456789ABCDEF0123456789ABCDEF],RecurID[20261221T140000Z]!!"}},
        MailCase{"NoSuchInstance",
                 nullptr,
                 Open<kUnknown, kSeries, kPlanningInstance>,
                 "0 0",
                 {kNotFound, kByUnid, kAgain,
                  "UID[F00DFEEDF00DFEEDF00DFEEDF00DFEED],RecurID[20261221T140000Z]!!",
                  "OpenNoteByUID---CalOpenNoteHandle"}},
        MailCase{"UidFails",
                 "CalOpenNoteHandle@1=0x0404",
                 Open<kUnknown, kSeries>,
                 "0 0",
                 {kNotFound, kByUnid, kAgain, "UID[F00DFEEDF00DFEEDF00DFEEDF00DFEED]!!",
                  "OpenNoteByUID---CalOpenNoteHandle"}},
        MailCase{"NoUid", nullptr, Open<kUnknown>, "0 0", {kNotFound, kByUnid}},
        MailCase{"NoDatabase",
                 nullptr,
                 Open<kReview, kSeries, nullptr, false, true>,
                 "0 0",
                 {"Invalid parameters!!", "Invalid parameters!!", kAgain, "Invalid parameters!!"}}),
    korvo_test::MailCaseName);

} // namespace
