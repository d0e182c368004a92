// Every runtime call of the wrappers failed by injection: the failure reaches the error
// handler under its label, and whatever was taken is given back.
#include "notes_data_fixture.h"
#include "notesitems.h"
#include "notesmime.h"
#include "notesnotes.h"
#include "notesrt_testing.h"
#include "notestime.h"

#include <memory>

namespace {

using Strings = std::vector<std::string>;

class FaultTest;

struct FaultRow {
    const char* name;           // the row's name
    const char* plan;           // what fails
    void (*action)(FaultTest&); // what runs
    Strings labels;             // the labels the error handler logs
};

class FaultTest : public korvo_test::NotesDataTest, public ::testing::WithParamInterface<FaultRow> {
  public:
    using NotesDataTest::OpenNote;
    DBHANDLE Db() const { return m_db; }
    char* Body() { return m_body.get(); }
    CNotesCalendar& Calendar() { return m_calendar; }

  private:
    std::unique_ptr<char[]> m_body{new char[kBodyBufferSize]()}; // a body buffer
    CNotesCalendar m_calendar;                                   // range on 2026-03-08
};

TEST_P(FaultTest, ReportsUnderTheLabel) {
    const FaultRow& row = GetParam();
    ASSERT_TRUE(Calendar().AllocateTextBuffer());
    const FILETIME day = korvo_test::DayAt1530(2026, 3, 8);
    SetCalendarTimeRange(Calendar(), day, day);
    korvo_test::ClearTraceLines();
    ASSERT_EQ(NotesrtSetFaults(row.plan), 0);
    row.action(*this);
    NotesrtSetFaults(nullptr);
    EXPECT_EQ(korvo_test::ReportedLabels(korvo_test::TakeTraceLines()), row.labels);
}

void ReadBody(FaultTest& test) {
    GetCompositeTextByNoteItem(test.OpenNote(100), test.Body());
}
void ReadMime(FaultTest& test) {
    GetBodyMIMEText(test.OpenNote(104, OPEN_RAW_MIME), test.Body());
}
void ReadTimeList(FaultTest& test) {
    TIMEDATE start = {};
    TIMEDATE end = {};
    EXPECT_EQ(GetTimeListByNoteItem(test.Calendar(), test.OpenNote(116), &start, &end), 0);
}

const UNID kUnid = {{{0x4E1B22F1, 0x8A3F0C6D}}, {{0x0036A1F2, 0xC1257E2B}}};

INSTANTIATE_TEST_SUITE_P(
    Calls, FaultTest,
    ::testing::Values(
        FaultRow{"FindView",
                 "NIFFindView@1=0x0404",
                 [](FaultTest& test) {
                     NOTEID view = 0;
                     GetDBView(test.Db(), "$MeetingsAllByDate2", &view);
                     EXPECT_EQ(view, 0u);
                 },
                 {"NIFFindView"}},
        FaultRow{"OpenByUnid",
                 "NSFNoteOpenByUNID@1=0x0404",
                 [](FaultTest& test) {
                     NOTEHANDLE note = 1;
                     OpenNoteByUNID(test.Db(), &kUnid, &note);
                     EXPECT_EQ(note, NULLHANDLE);
                 },
                 {"OpenNoteByUNID---NSFNoteOpenByUNID"}},
        FaultRow{"OpenByNoteId",
                 "NSFNoteOpenExt@1=0x0404",
                 [](FaultTest& test) {
                     NOTEHANDLE note = 1;
                     OpenNoteByNoteID(test.Db(), 100, &note, true);
                     EXPECT_EQ(note, NULLHANDLE);
                 },
                 {"OpenNoteByNoteID---NSFNoteOpenExt"}},
        // The note stays open and is closed at the end of the test.
        FaultRow{"Close",
                 "NSFNoteClose@1=0x0404",
                 [](FaultTest& test) { CloseNote(test.OpenNote(100)); },
                 {"CloseNote---NSFNoteClose"}},
        FaultRow{"ConvertItem",
                 "ConvertItemToText@2=0x0404",
                 ReadBody,
                 {"GetTextByBlockID---ConvertItemToText"}},
        FaultRow{
            "NextItem", "NSFItemInfoNext@2=0x0404", ReadBody, {"NSFItemInfo---NSFItemInfoNext"}},
        FaultRow{"NoFurtherItem", "NSFItemInfoNext@1=0x0222", ReadBody, {}},
        FaultRow{"OpenDirectory", "MIMEOpenDirectory@1=0x0404", ReadMime, {"MIMEOpenDirectory"}},
        FaultRow{"Root", "MIMEGetRootEntity@1=0x0404", ReadMime, {"MIMEGetRootEntity"}},
        FaultRow{
            "PartFlags", "MIMEGetEntityPartFlags@1=0x0404", ReadMime, {"MIMEGetEntityPartFlags"}},
        FaultRow{
            "Charset", "MIMEEntityGetTypeParam@1=0x0404", ReadMime, {"MIMEEntityGetTypeParam"}},
        FaultRow{"PlainData", "MIMEGetEntityData@1=0x0404", ReadMime, {"MIMEGetDecodedEntityData"}},
        FaultRow{"DecodedData",
                 "MIMEGetDecodedEntityData@1=0x0404",
                 ReadMime,
                 {"MIMEGetDecodedEntityData"}},
        FaultRow{"Iterate", "MIMEIterateNext@2=0x0404", ReadMime, {"MIMEIterateNext"}},
        FaultRow{
            "DateText", "ConvertTIMEDATEToText@1=0x0404", ReadTimeList, {"ConvertTIMEDATEToText"}},
        FaultRow{"EndText",
                 "ConvertTextToTIMEDATE@2=0x0404",
                 ReadTimeList,
                 {"ConvertSYSTEMTIMEToNotesLocalTime---ConvertTextToTIMEDATE"}},
        FaultRow{"Adjust",
                 "TimeDateAdjust@1=0x0404",
                 [](FaultTest& test) {
                     SYSTEMTIME fields = {};
                     EXPECT_EQ(ConvertAppointmentTimeToSYSTEMTIME(test.Calendar().m_tdRangeStart,
                                                                  &fields),
                               0);
                 },
                 {"TimeDateAdjust"}}),
    [](const ::testing::TestParamInfo<FaultRow>& row) { return std::string(row.param.name); });

} // namespace
