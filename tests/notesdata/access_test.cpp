// Views and notes: lookups, opening by note ID and by UNID, and the UNID text forms.
#include "notes_data_fixture.h"
#include "notesnotes.h"
#include "noteunid.h"

#include <array>
#include <cstring>

namespace {

using korvo_test::Messages;
using korvo_test::TakeTraceLines;

class AccessTest : public korvo_test::NotesDataTest {};

TEST_F(AccessTest, FindsViewsByName) {
    NOTEID view = 0;
    GetDBView(m_db, "$meetingsallbydate2", &view);
    EXPECT_EQ(view, 8u);
    NOTEID missing = 0;
    GetDBView(m_db, "$Inbox", &missing);
    GetDBView(NULLHANDLE, "$Inbox", &missing);
    EXPECT_EQ(missing, 0u);
    const auto trace = TakeTraceLines();
    EXPECT_EQ(korvo_test::ReportedLabels(trace), std::vector<std::string>{"NIFFindView"});
    EXPECT_EQ(trace.back().message, "Invalid parameters!!");
}

TEST_F(AccessTest, UnidTextReadFromANoteOpensItAgain) {
    NOTEHANDLE note = NULLHANDLE;
    OpenNoteByNoteID(m_db, 100, &note, false);
    ASSERT_NE(note, NULLHANDLE);
    CString text;
    GetNoteOID(note, text);
    EXPECT_EQ(text, KORVO_W("8A3F0C6D4E1B22F1C1257E2B0036A1F2"));
    ORIGINATORID oid = {};
    NSFNoteGetInfo(note, _NOTE_OID, &oid);
    CloseNote(note);

    UNID unid = {};
    ConvertNoteUNIDFromChar(std::string(text.begin(), text.end()).c_str(), &unid);
    EXPECT_EQ(std::memcmp(&unid, &oid, sizeof unid), 0);
    OpenNoteByUNID(m_db, &unid, &note);
    NOTEID noteId = 0;
    NSFNoteGetInfo(note, _NOTE_ID, &noteId);
    EXPECT_EQ(noteId, 100u);
    CloseNote(note);
    EXPECT_TRUE(TakeTraceLines().empty());
}

TEST_F(AccessTest, RefusesMissingHandlesAndIds) {
    NOTEHANDLE note = 77;
    const UNID unid = {};
    OpenNoteByUNID(NULLHANDLE, &unid, &note);
    EXPECT_EQ(note, NULLHANDLE);
    note = 77;
    OpenNoteByNoteID(m_db, 0, &note, true);
    EXPECT_EQ(note, NULLHANDLE);
    CString text = KORVO_W("old");
    GetNoteOID(NULLHANDLE, text);
    EXPECT_TRUE(text.empty());
    CloseNote(NULLHANDLE);
    const auto trace = TakeTraceLines();
    ASSERT_EQ(trace.size(), 3u);
    EXPECT_EQ(trace[0].function, "OpenNoteByUNID");
    EXPECT_EQ(trace[1].function, "OpenNoteByNoteID");
    EXPECT_EQ(trace[2].function, "GetNoteOID");
    EXPECT_EQ(trace[2].message, "Invalid parameters!!");
}

struct UnidRow {
    const char* text;              // the text read
    std::array<uint32_t, 4> words; // file high, file low, note high, note low afterwards
    const char* message;           // what is logged; null for nothing
};

class UnidTextTest : public ::testing::TestWithParam<UnidRow> {};

TEST_P(UnidTextTest, ReadsFourGroupsOfEightDigits) {
    const UnidRow& row = GetParam();
    UNID unid = {{{1, 2}}, {{3, 4}}};
    korvo_test::ClearTraceLines();
    ConvertNoteUNIDFromChar(row.text, &unid);
    EXPECT_EQ((std::array<uint32_t, 4>{unid.File.Innards[1], unid.File.Innards[0],
                                       unid.Note.Innards[1], unid.Note.Innards[0]}),
              row.words);
    const auto messages = Messages(TakeTraceLines());
    EXPECT_EQ(messages,
              row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnidTextTest,
    ::testing::Values(UnidRow{"8A3F0C6D4E1B22F1C1257E2B0036A1F2",
                              {0x8A3F0C6D, 0x4E1B22F1, 0xC1257E2B, 0x0036A1F2},
                              nullptr},
                      UnidRow{"8a3f0c6d4e1b22f1c1257e2b0036a1f2",
                              {0x8A3F0C6D, 0x4E1B22F1, 0xC1257E2B, 0x0036A1F2},
                              nullptr},
                      UnidRow{"8A3F0C6G4E1B22F1C1257E2BXXXXXXXX",
                              {0x8A3F0C6, 0x4E1B22F1, 0xC1257E2B, 0},
                              nullptr},
                      UnidRow{"8A3F0C6D4E1B22F1C1257E2B0036A1F",
                              {2, 1, 4, 3},
                              "Invalid UNID string[length=31], but UNID type need 32 bytes!!"},
                      UnidRow{"8A3F0C6D4E1B22F1C1257E2B0036A1F23",
                              {2, 1, 4, 3},
                              "Invalid UNID string[length=33], but UNID type need 32 bytes!!"},
                      UnidRow{nullptr, {2, 1, 4, 3}, "Invalid UNID string!!"}));

} // namespace
