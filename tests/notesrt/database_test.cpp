// Opening database files (identifiers, servers, damaged and changed files); views by name,
// notes by note ID and UNID and their information; handles from before a stop.
#include "temp_install.h"

#include <filesystem>

namespace {

const UNID kUnid100 = {{{0x0000000B, 0x0000000A}}, {{0x0000000D, 0x0000000C}}};

using DatabaseTest = NotesDatabaseTest;

TEST_F(DatabaseTest, ReadsTheIdentifiersAndRefusesAClosedHandle) {
    DBREPLICAINFO replica;
    ASSERT_EQ(NSFDbReplicaInfoGet(db, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[0], 0xC1257E2Bu);
    EXPECT_EQ(replica.ID.Innards[1], 0x00000001u);
    DBID id;
    ASSERT_EQ(NSFDbIDGet(db, &id), 0);
    EXPECT_EQ(id.Innards[0], 0x00000001u);
    EXPECT_EQ(id.Innards[1], 0x00000002u);
    EXPECT_EQ(NSFDbClose(db), 0);
    EXPECT_NE(NSFDbClose(db), 0);
    EXPECT_NE(NSFDbIDGet(db, &id), 0);
    db = 0;
}

// Files in folders and on known servers are opened by the mail suite and tests/calendarops.
TEST_F(DatabaseTest, RefusesUnknownServersAndFiles) {
    DBHANDLE none = 0;
    EXPECT_EQ(NSFDbOpen("CN=Far/O=Acme!!names.nsf", &none), 0x010D);
    EXPECT_EQ(NSFDbOpen("nothere.nsf", &none), 0x0103);
    EXPECT_NE(StatusText(0x0103).find("nothere.nsf"), std::string::npos);
    EXPECT_EQ(none, 0u);
}

// A second write within the file system's clock tick keeps size and modification time; a
// handle opened before the change keeps what it read.
TEST_F(DatabaseTest, ReadsAFileRewrittenAtOnceWithTheSameSizeAndTime) {
    install.Write("data/same.nsf", R"({"replicaId": "0000000500000006"})");
    const std::filesystem::path file = install.root / "data" / "same.nsf";
    const auto written = std::filesystem::last_write_time(file);
    DBHANDLE first = 0;
    ASSERT_EQ(NSFDbOpen("same.nsf", &first), 0);
    install.Write("data/same.nsf", R"({"replicaId": "0000000700000006"})");
    std::filesystem::last_write_time(file, written);
    DBHANDLE second = 0;
    ASSERT_EQ(NSFDbOpen("same.nsf", &second), 0);
    DBREPLICAINFO replica;
    ASSERT_EQ(NSFDbReplicaInfoGet(second, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[0], 7u);
    ASSERT_EQ(NSFDbReplicaInfoGet(first, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[0], 5u);
    EXPECT_EQ(NSFDbClose(first), 0);
    EXPECT_EQ(NSFDbClose(second), 0);
}

TEST_F(DatabaseTest, HandlesFromBeforeAStopAreInvalid) {
    const NOTEHANDLE note = Open(100);
    DHANDLE memory = 0;
    ASSERT_EQ(OSMemAlloc(0, 16, &memory), 0);
    NotesTerm();
    ASSERT_EQ(install.Start(), 0);
    EXPECT_EQ(Counts().notes + Counts().memoryAllocated, 0u);
    EXPECT_EQ(NSFNoteClose(note), 0x0108);
    EXPECT_EQ(OSLockObject(memory), nullptr);
    EXPECT_NE(OSMemFree(memory), 0);
    DBREPLICAINFO replica;
    EXPECT_EQ(NSFDbReplicaInfoGet(db, &replica), 0x0108);
    EXPECT_EQ(NSFDbClose(db), 0x0108);
    db = 0;
}

struct DamageCase {
    const char* name;    // test name
    const char* content; // the file
    const char* problem; // expected in the status text
};

class DamagedDatabaseTest : public DatabaseTest, public testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedDatabaseTest, FailsTheOpenAndLeavesTheFile) {
    install.Write("data/bad.nsf", GetParam().content);
    DBHANDLE bad = 0;
    const STATUS status = NSFDbOpen("bad.nsf", &bad);
    EXPECT_EQ(status, 0x010B);
    EXPECT_EQ(bad, 0u);
    const std::string text = StatusText(status);
    EXPECT_NE(text.find("bad.nsf"), std::string::npos) << text;
    EXPECT_NE(text.find(GetParam().problem), std::string::npos) << text;
    EXPECT_EQ(install.Read("data/bad.nsf"), GetParam().content);
    EXPECT_EQ(Counts().databases, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedDatabaseTest,
    testing::Values(
        DamageCase{"BadJson", R"({"notes": [)", "bad JSON"},
        DamageCase{"NotAnObject", "[]", "not a JSON object"},
        DamageCase{"UnknownKind", R"({"notes": [{"items": [["A", {"colour": 1}]]}]})",
                   "unknown kind"},
        DamageCase{"BooleanValue", R"({"notes": [{"items": [["A", true]]}]})", "unknown kind"},
        DamageCase{"DuplicateNoteId", R"({"notes": [{"noteId": 8}, {"items": []}]})",
                   "duplicate note ID 8"},
        DamageCase{"DuplicateUnid",
                   R"({"notes": [{"unid": "0000000000000000000000000000000A"},
                                 {"unid": "0000000000000000000000000000000a"}]})",
                   "duplicate UNID"},
        DamageCase{"BadTime", R"({"notes": [{"items": [["T", {"time": "2026-02-30T00:00:00"}]]}]})",
                   "bad time"},
        DamageCase{"BadReplicaId", R"({"replicaId": "C1257E2B"})", "replicaId"},
        DamageCase{"BadBase64", R"({"notes": [{"items": [["L", {"lmbcs": "*"}]]}]})", "base64"},
        DamageCase{"UnknownClass", R"({"notes": [{"class": "form"}]})", "unknown class"}),
    [](const auto& row) { return std::string(row.param.name); });

struct ViewCase {
    const char* name;   // test name
    const char* view;   // the name looked up
    uint16_t noteClass; // the class asked for
    STATUS status;      // expected status
    NOTEID noteId;      // expected note ID (77: left as it was)
};

class FindViewTest : public DatabaseTest, public testing::WithParamInterface<ViewCase> {};

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

TEST_F(DatabaseTest, OpensByNoteIdAndUnid) {
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

TEST_F(DatabaseTest, ReadsNoteInformationFromTheDatabase) {
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

// An originator ID for a new note: the replica's, with a note half taken from the clock that
// no earlier one has had, as its first sequence time.
TEST_F(DatabaseTest, GeneratesNewOriginatorIdsFromTheClock) {
    const auto combined = [](const TIMEDATE& time) {
        return (uint64_t{time.Innards[1]} << 32) | time.Innards[0];
    };
    TIMEDATE before;
    OSCurrentTIMEDATE(&before);
    ORIGINATORID first = {};
    ORIGINATORID second = {};
    ASSERT_EQ(NSFDbGenerateOID(db, &first), 0);
    ASSERT_EQ(NSFDbGenerateOID(db, &second), 0);
    EXPECT_GE(combined(first.Note), combined(before));
    EXPECT_GT(combined(second.Note), combined(first.Note));
    EXPECT_EQ(combined(first.SequenceTime), combined(first.Note));
    EXPECT_EQ(first.Sequence, 0u);
}

// What is added or set through one handle stays with it, and a database handle that is not
// open is not taken (moving a note to another database and back is the mail suite's delivery).
TEST_F(DatabaseTest, AChangeThroughOneHandleStaysWithIt) {
    DBHANDLE second = 0;
    ASSERT_EQ(NSFDbOpen("notes.nsf", &second), 0);
    const NOTEHANDLE changed = Open(100);
    const NOTEHANDLE other = Open(100);
    ASSERT_EQ(MailAddHeaderItem(changed, MAIL_SUBJECT_ITEM_NUM, "New", 3), 0);
    ORIGINATORID oid = {};
    NSFNoteGetInfo(changed, _NOTE_OID, &oid);
    EXPECT_EQ(oid.Note.Innards[1], 0x0000000Cu);
    oid.Sequence = 9;
    NSFNoteSetInfo(changed, _NOTE_OID, &oid);
    NSFNoteSetInfo(changed, _NOTE_ID, nullptr);
    NSFNoteSetInfo(changed, _NOTE_DB, &second);
    const DBHANDLE invalid = 0x12345;
    NSFNoteSetInfo(changed, _NOTE_DB, &invalid);
    const NOTEHANDLE later = Open(100);
    DBHANDLE owner = 0;
    NOTEID id = 5;
    NSFNoteGetInfo(changed, _NOTE_DB, &owner);
    NSFNoteGetInfo(changed, _NOTE_ID, &id);
    EXPECT_EQ(owner, second);
    EXPECT_EQ(id, 0u);
    char subject[32];
    EXPECT_EQ(NSFItemGetText(changed, "Subject", subject, sizeof subject), 3u);
    for (const NOTEHANDLE note : {other, later}) {
        EXPECT_EQ(NSFItemGetText(note, "Subject", subject, sizeof subject), 8u);
        NSFNoteGetInfo(note, _NOTE_OID, &oid);
        EXPECT_EQ(oid.Sequence, 1u);
    }
    for (const NOTEHANDLE note : {changed, other, later})
        EXPECT_EQ(NSFNoteClose(note), 0);
    EXPECT_EQ(NSFDbClose(second), 0);
}

} // namespace
