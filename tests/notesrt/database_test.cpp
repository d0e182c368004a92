// Opening database files (identifiers, servers, damaged and changed files); views by name,
// notes by note ID and UNID and their information; handles from before a stop.
#include "temp_install.h"

#include <filesystem>
#include <tuple>

namespace {

const UNID kUnid100 = {{{0x0000000B, 0x0000000A}}, {{0x0000000D, 0x0000000C}}};

using DatabaseTest = NotesDatabaseTest;

// The replica ID and the view's originator ID are also read by the library's mail profile.
TEST_F(DatabaseTest, ReadsTheIdentifiersAndRefusesAClosedHandle) {
    DBREPLICAINFO replica;
    ASSERT_EQ(NSFDbReplicaInfoGet(db, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[0], 0xC1257E2Bu);
    DBID id;
    ASSERT_EQ(NSFDbIDGet(db, &id), 0);
    EXPECT_EQ(id.Innards[1], 0x00000002u);
    NOTEID noteId = 0;
    ORIGINATORID oid = {};
    uint16_t noteClass = 0;
    UNID unid = kUnid100;
    ASSERT_EQ(NSFDbGetNoteInfoByUNID(db, &unid, &noteId, &oid, nullptr, &noteClass), 0);
    EXPECT_EQ(noteId, 100u);
    EXPECT_EQ(oid.Note.Innards[0], 0x0000000Du);
    EXPECT_EQ(oid.Sequence, 1u);
    EXPECT_EQ(noteClass, NOTE_CLASS_DOCUMENT);
    EXPECT_EQ(NSFDbGetNoteInfo(db, 301, &oid, nullptr, nullptr), 0x0111);
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

class DamagedDatabaseTest : public DatabaseTest, public testing::WithParamInterface<Row> {};

// Rows of data/damaged_databases.tsv: the file and what the status text names.
TEST_P(DamagedDatabaseTest, FailsTheOpenAndLeavesTheFile) {
    install.Write("data/bad.nsf", GetParam()[1]);
    DBHANDLE bad = 0;
    const STATUS status = NSFDbOpen("bad.nsf", &bad);
    EXPECT_EQ(status, 0x010B);
    EXPECT_EQ(bad, 0u);
    const std::string text = StatusText(status);
    EXPECT_NE(text.find("bad.nsf"), std::string::npos) << text;
    EXPECT_NE(text.find(GetParam()[2]), std::string::npos) << text;
    EXPECT_EQ(install.Read("data/bad.nsf"), GetParam()[1]);
    EXPECT_EQ(Counts().databases, 1u);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedDatabaseTest,
                         testing::ValuesIn(DataFile("damaged_databases.tsv")), FirstField);

TEST_F(DatabaseTest, FindsViewsByAnyOfTheirNames) {
    // The name looked up, the class asked for and the view found (0: none, ERR_NOT_FOUND).
    const std::tuple<const char*, uint16_t, NOTEID> rows[] = {{"$Users", NOTE_CLASS_VIEW, 300},
                                                              {"($users)", NOTE_CLASS_VIEW, 300},
                                                              {"$Sent", NOTE_CLASS_VIEW, 0},
                                                              {"Users", NOTE_CLASS_VIEW, 0},
                                                              {"$Users", NOTE_CLASS_DOCUMENT, 0}};
    for (const auto& [view, noteClass, expected] : rows) {
        NOTEID noteId = 77;
        EXPECT_EQ(NIFFindDesignNoteExt(db, view, noteClass, DFLAGPAT_VIEWS_AND_FOLDERS, &noteId, 0),
                  expected != 0 ? 0 : ERR_NOT_FOUND)
            << view;
        EXPECT_EQ(noteId, expected != 0 ? expected : 77) << view;
    }
}

// Opening by note ID and by UNID is the library's notes suite (tests/notesdata).
TEST_F(DatabaseTest, RefusesNotesItDoesNotHoldAndClosedHandles) {
    const NOTEHANDLE note = Open(100);
    NOTEHANDLE none = 0;
    EXPECT_EQ(NSFNoteOpenExt(db, 101, 0, &none), 0x0111);
    UNID other = kUnid100;
    other.Note.Innards[0] = 1;
    EXPECT_EQ(NSFNoteOpenByUNID(db, &other, 0, &none), ERR_NOT_FOUND);
    EXPECT_EQ(NSFNoteOpenExt(0, 100, 0, &none), 0x0108);
    EXPECT_EQ(none, 0u);
    EXPECT_EQ(NSFNoteClose(note), 0);
    EXPECT_EQ(NSFNoteClose(note), 0x0108);
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
    DBHANDLE invalid = 0x12345;
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
