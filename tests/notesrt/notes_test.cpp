// Views by name, notes by note ID and UNID, and their information.
#include "open_database.h"

namespace {

const UNID kUnid100 = {{{0x0000000B, 0x0000000A}}, {{0x0000000D, 0x0000000C}}};

struct ViewCase {
    const char* name;   // test name
    const char* view;   // the name looked up
    uint16_t noteClass; // the class asked for
    STATUS status;      // expected status
    NOTEID noteId;      // expected note ID (77: left as it was)
};

class FindViewTest : public OpenDatabaseTest, public testing::WithParamInterface<ViewCase> {};

TEST_P(FindViewTest, FindsViewsByAnyOfTheirNames) {
    NOTEID noteId = 77;
    EXPECT_EQ(NIFFindView(db, GetParam().view, GetParam().noteClass, "-G40n^", &noteId, 0),
              GetParam().status);
    EXPECT_EQ(noteId, GetParam().noteId);
}

INSTANTIATE_TEST_SUITE_P(
    Views, FindViewTest,
    testing::Values(ViewCase{"Synonym", "$Users", NOTE_CLASS_VIEW, 0, 300},
                    ViewCase{"TitleIgnoringCase", "($users)", NOTE_CLASS_VIEW, 0, 300},
                    ViewCase{"Single", "$INBOX", NOTE_CLASS_VIEW, 0, 304},
                    ViewCase{"Missing", "$Sent", NOTE_CLASS_VIEW, ERR_NOT_FOUND, 77},
                    ViewCase{"PartOfTitle", "Users", NOTE_CLASS_VIEW, ERR_NOT_FOUND, 77},
                    ViewCase{"OtherClass", "$Users", NOTE_CLASS_DOCUMENT, ERR_NOT_FOUND, 77}),
    [](const auto& row) { return std::string(row.param.name); });

using NoteTest = OpenDatabaseTest;

TEST_F(NoteTest, OpensByNoteIdAndUnid) {
    NOTEHANDLE byId = Open(100);
    NOTEHANDLE byUnid = 0;
    ASSERT_EQ(NSFNoteOpenByUNID(db, &kUnid100, 0, &byUnid), 0);
    EXPECT_NE(byId, byUnid);
    EXPECT_EQ(Counts().notes, 2u);
    NOTEID id = 0;
    NSFNoteGetInfo(byUnid, _NOTE_ID, &id);
    EXPECT_EQ(id, 100u);

    NOTEHANDLE none = 0;
    EXPECT_EQ(NSFNoteOpenExt(db, 101, 0, &none), 0x0111);
    UNID other = kUnid100;
    other.Note.Innards[0] = 1;
    EXPECT_EQ(NSFNoteOpenByUNID(db, &other, 0, &none), ERR_NOT_FOUND);
    EXPECT_EQ(NSFNoteOpenExt(0, 100, 0, &none), 0x0108);
    EXPECT_EQ(none, 0u);

    EXPECT_EQ(NSFNoteClose(byId), 0);
    EXPECT_EQ(NSFNoteClose(byId), 0x0108);
    EXPECT_EQ(NSFNoteClose(byUnid), 0);
}

TEST_F(NoteTest, ReadsNoteInformationFromTheDatabase) {
    NOTEID noteId = 0;
    ORIGINATORID oid = {};
    TIMEDATE modified = {};
    uint16_t noteClass = 0;
    ASSERT_EQ(NSFDbGetNoteInfoByUNID(db, &kUnid100, &noteId, &oid, &modified, &noteClass), 0);
    EXPECT_EQ(noteId, 100u);
    EXPECT_EQ(oid.Note.Innards[0], 0x0000000Du);
    EXPECT_EQ(oid.File.Innards[1], 0x0000000Au);
    EXPECT_EQ(oid.Sequence, 1u);
    EXPECT_EQ(noteClass, NOTE_CLASS_DOCUMENT);
    EXPECT_EQ(NSFDbGetNoteInfoByUNID(db, &kUnid100, nullptr, nullptr, nullptr, nullptr), 0);

    ASSERT_EQ(NSFDbGetNoteInfo(db, 300, &oid, &modified, &noteClass), 0);
    EXPECT_EQ(noteClass, NOTE_CLASS_VIEW);
    EXPECT_EQ(oid.File.Innards[1], 0xC1257E2Bu);
    EXPECT_EQ(oid.Note.Innards[0], 2u);
    EXPECT_EQ(NSFDbGetNoteInfo(db, 301, &oid, nullptr, nullptr), 0x0111);
}

TEST_F(NoteTest, ReadsAndSetsAttributesThroughTheHandle) {
    DBHANDLE second = 0;
    ASSERT_EQ(NSFDbOpen("notes.nsf", &second), 0);
    NOTEHANDLE note = Open(100);
    DBHANDLE owner = 0;
    ORIGINATORID oid = {};
    uint16_t noteClass = 0;
    NSFNoteGetInfo(note, _NOTE_DB, &owner);
    NSFNoteGetInfo(note, _NOTE_OID, &oid);
    NSFNoteGetInfo(note, _NOTE_CLASS, &noteClass);
    EXPECT_EQ(owner, db);
    EXPECT_EQ(oid.Note.Innards[1], 0x0000000Cu);
    EXPECT_EQ(noteClass, NOTE_CLASS_DOCUMENT);

    NSFNoteSetInfo(note, _NOTE_DB, &second);
    NSFNoteSetInfo(note, _NOTE_ID, nullptr);
    ORIGINATORID fresh = oid;
    fresh.Sequence = 9;
    NSFNoteSetInfo(note, _NOTE_OID, &fresh);
    const DBHANDLE invalid = 0x12345;
    NSFNoteSetInfo(note, _NOTE_DB, &invalid);
    NOTEID id = 5;
    NSFNoteGetInfo(note, _NOTE_DB, &owner);
    NSFNoteGetInfo(note, _NOTE_ID, &id);
    NSFNoteGetInfo(note, _NOTE_OID, &oid);
    EXPECT_EQ(owner, second);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(oid.Sequence, 9u);

    NOTEHANDLE again = Open(100);
    NSFNoteGetInfo(again, _NOTE_OID, &oid);
    EXPECT_EQ(oid.Sequence, 1u);
    EXPECT_EQ(NSFNoteClose(again), 0);
    EXPECT_EQ(NSFDbClose(second), 0);
    char subject[32];
    EXPECT_EQ(NSFItemGetText(note, "Subject", subject, sizeof subject), 8u);
    EXPECT_EQ(NSFNoteClose(note), 0);
}

TEST_F(NoteTest, AChangeThroughOneHandleStaysWithIt) {
    const NOTEHANDLE changed = Open(100);
    const NOTEHANDLE other = Open(100);
    ASSERT_EQ(MailAddHeaderItem(changed, MAIL_SUBJECT_ITEM_NUM, "New", 3), 0);
    const NOTEHANDLE later = Open(100);
    char subject[32];
    EXPECT_EQ(NSFItemGetText(changed, "Subject", subject, sizeof subject), 3u);
    for (const NOTEHANDLE note : {other, later})
        EXPECT_EQ(NSFItemGetText(note, "Subject", subject, sizeof subject), 8u);
    for (const NOTEHANDLE note : {changed, other, later})
        EXPECT_EQ(NSFNoteClose(note), 0);
}

TEST_F(NoteTest, SaysWhetherTheNoteShowsAMimePart) {
    const NOTEHANDLE raw = Open(200, OPEN_RAW_MIME);
    const NOTEHANDLE plain = Open(200);
    const NOTEHANDLE noMime = Open(100, OPEN_RAW_MIME);
    EXPECT_EQ(NSFNoteHasMIMEPart(raw), 1);
    EXPECT_EQ(NSFNoteHasMIMEPart(plain), 0);
    EXPECT_EQ(NSFNoteHasMIMEPart(noMime), 0);
    for (NOTEHANDLE note : {raw, plain, noMime})
        EXPECT_EQ(NSFNoteClose(note), 0);
    EXPECT_EQ(NSFNoteHasMIMEPart(raw), 0);
}

TEST_F(NoteTest, HandlesFromBeforeAStopAreInvalid) {
    const NOTEHANDLE note = Open(100);
    NotesTerm();
    ASSERT_EQ(install.Start(), 0);
    EXPECT_EQ(Counts().notes, 0u);
    EXPECT_EQ(NSFNoteClose(note), 0x0108);
    ASSERT_EQ(NSFDbOpen("notes.nsf", &db), 0);
}

} // namespace
