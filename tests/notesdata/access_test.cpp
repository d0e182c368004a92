// Views and notes: lookups, opening by note ID and by UNID, and the UNID text forms.
#include "notes_data_fixture.h"
#include "notesnotes.h"
#include "noteunid.h"
#include "notesrt_testing.h"

#include <cstdio>
#include <cstring>

namespace {

using korvo_test::Case;
using korvo_test::NotesDataTest;

// The view's note ID (0 when not found), note 100's UNID text, whether that text reads back
// as the note's 16 bytes, and the note ID that the UNID read back opens.
std::string Lookups(NotesDataTest& test) {
    NOTEID view = 0;
    GetDBView(test.m_db, "$meetingsallbydate2", &view);
    CString text;
    GetNoteOID(test.OpenNote(100), text);
    const std::string narrow(text.begin(), text.end());
    UNID unid = {};
    ConvertNoteUNIDFromChar(narrow.c_str(), &unid);
    ORIGINATORID oid = {};
    NSFNoteGetInfo(test.m_notes[0], _NOTE_OID, &oid);
    NOTEHANDLE note = NULLHANDLE;
    OpenNoteByUNID(test.m_db, &unid, &note);
    NOTEID noteId = 0;
    NSFNoteGetInfo(note, _NOTE_ID, &noteId);
    CloseNote(note);
    return std::to_string(view) + " " + narrow +
           (std::memcmp(&unid, &oid, sizeof unid) == 0 ? " same " : " differs ") +
           std::to_string(noteId);
}

// Opens note 100 by UNID, then by note ID, and closes what opened; "0" for each handle left 0.
std::string Opens(NotesDataTest& test) {
    const UNID unid = {{{0x4E1B22F1, 0x8A3F0C6D}}, {{0x0036A1F2, 0xC1257E2B}}};
    NOTEHANDLE notes[2] = {1, 1};
    OpenNoteByUNID(test.m_db, &unid, &notes[0]);
    OpenNoteByNoteID(test.m_db, 100, &notes[1], true);
    CloseNote(notes[0]);
    CloseNote(notes[1]);
    return std::string(notes[0] ? "open" : "0") + (notes[1] ? " open" : " 0");
}

// Opens the collection of view 8 and closes it, then closes handle 0; "closed" when nothing
// stays open, even after a close that failed.
std::string Collection(NotesDataTest& test) {
    HCOLLECTION collection = 0;
    NIFOpenCollection(test.m_db, test.m_db, 8, 0, NULLHANDLE, &collection, nullptr, nullptr,
                      nullptr, nullptr);
    CloseCollection(collection);
    CloseCollection(0);
    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    return counts.collections != 0 ? "open" : "closed";
}

// The words, high to low, of a UNID holding 2 1 4 3 after text was read into it.
template <const char* text> std::string Unid(NotesDataTest&) {
    UNID unid = {{{1, 2}}, {{3, 4}}};
    ConvertNoteUNIDFromChar(text, &unid);
    char words[40];
    std::snprintf(words, sizeof words, "%X %X %X %X", unid.File.Innards[1], unid.File.Innards[0],
                  unid.Note.Innards[1], unid.Note.Innards[0]);
    return words;
}

constexpr char kBadDigits[] = "8a3f0c6g4e1b22f1c1257e2bXXXXXXXX";
constexpr char k31[] = "8A3F0C6D4E1B22F1C1257E2B0036A1F";
constexpr char k33[] = "8A3F0C6D4E1B22F1C1257E2B0036A1F20";

INSTANTIATE_TEST_SUITE_P(
    Access, NotesDataTest,
    ::testing::Values(
        Case("Lookups", nullptr, Lookups, "8 8A3F0C6D4E1B22F1C1257E2B0036A1F2 same 100", {}),
        Case("ViewFails", "NIFFindDesignNoteExt@1=0x0404", Lookups,
             "0 8A3F0C6D4E1B22F1C1257E2B0036A1F2 same 100", {"NIFFindView"}),
        Case("OpensFail", "NSFNoteOpenByUNID@1=0x404,NSFNoteOpenExt@1=0x404", Opens, "0 0",
             {"OpenNoteByUNID---NSFNoteOpenByUNID", "OpenNoteByNoteID---NSFNoteOpenExt"}),
        Case("CollectionCloseFails", "NIFCloseCollection@1=0x0404", Collection, "closed",
             {"CloseCollection---NIFCloseCollection", "Invalid parameters!!"}),
        Case("BadDigits", nullptr, Unid<kBadDigits>, "8A3F0C6 4E1B22F1 C1257E2B 0", {}),
        Case("Unid31", nullptr, Unid<k31>, "2 1 4 3",
             {"Invalid UNID string[length=31], but UNID type need 32 bytes!!"}),
        Case("Unid33", nullptr, Unid<k33>, "2 1 4 3",
             {"Invalid UNID string[length=33], but UNID type need 32 bytes!!"})),
    korvo_test::RowName<Case>);

} // namespace
