// Opening database files: identifiers, servers, damaged and changed files.
#include "notesrt_testing.h"
#include "temp_install.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class DatabaseTest : public testing::Test {
  protected:
    void SetUp() override {
        install.WriteStandard();
        install.CopyFixture("mail.nsf", "data/mail/ann.nsf");
        install.CopyFixture("names.nsf", "data/servers/Hub/names.nsf");
        ASSERT_EQ(install.Start(), 0);
    }

    static uint32_t OpenDatabases() {
        NotesrtCounts counts;
        NotesrtGetCounts(&counts);
        return counts.databases;
    }

    TempInstall install; // the installation the runtime runs on
};

TEST_F(DatabaseTest, OpensAndReadsTheIdentifiers) {
    DBHANDLE db = 0;
    ASSERT_EQ(NSFDbOpen("mail/ann.nsf", &db), 0);
    EXPECT_EQ(OpenDatabases(), 1u);
    DBREPLICAINFO replica;
    ASSERT_EQ(NSFDbReplicaInfoGet(db, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[0], 0xC1257E2Bu);
    EXPECT_EQ(replica.ID.Innards[1], 0x0036A1F2u);
    DBID id;
    ASSERT_EQ(NSFDbIDGet(db, &id), 0);
    EXPECT_EQ(id.Innards[0], 0x0000ABCDu);
    EXPECT_EQ(id.Innards[1], 0x00001234u);
    EXPECT_EQ(NSFDbClose(db), 0);
    EXPECT_NE(NSFDbClose(db), 0);
    EXPECT_NE(NSFDbIDGet(db, &id), 0);
    EXPECT_EQ(OpenDatabases(), 0u);
}

TEST_F(DatabaseTest, OpensOnAServerAndRefusesUnknownServers) {
    DBHANDLE db = 0;
    ASSERT_EQ(NSFDbOpen("CN=Hub/O=Acme!!names.nsf", &db), 0);
    DBREPLICAINFO replica;
    ASSERT_EQ(NSFDbReplicaInfoGet(db, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[1], 0xA2u);
    EXPECT_EQ(NSFDbClose(db), 0);
    DBHANDLE none = 0;
    EXPECT_EQ(NSFDbOpen("CN=Far/O=Acme!!names.nsf", &none), 0x010D);
    EXPECT_EQ(NSFDbOpen("nothere.nsf", &none), 0x0103);
    EXPECT_NE(StatusText(0x0103).find("nothere.nsf"), std::string::npos);
    EXPECT_EQ(none, 0u);
}

TEST_F(DatabaseTest, ReadsAChangedFileAnew) {
    DBHANDLE first = 0;
    ASSERT_EQ(NSFDbOpen("mail/ann.nsf", &first), 0);
    install.Write("data/mail/ann.nsf", R"({"replicaId": "0000000500000006"})");
    DBHANDLE second = 0;
    ASSERT_EQ(NSFDbOpen("mail/ann.nsf", &second), 0);
    DBREPLICAINFO replica;
    ASSERT_EQ(NSFDbReplicaInfoGet(second, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[0], 5u);
    ASSERT_EQ(NSFDbReplicaInfoGet(first, &replica), 0);
    EXPECT_EQ(replica.ID.Innards[0], 0xC1257E2Bu);
    NotesTerm();
    ASSERT_EQ(install.Start(), 0);
    EXPECT_EQ(NSFDbReplicaInfoGet(first, &replica), 0x0108);
    EXPECT_EQ(NSFDbClose(second), 0x0108);
}

// A second write within the file system's clock tick keeps size and modification time.
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
    EXPECT_EQ(NSFDbClose(first), 0);
    EXPECT_EQ(NSFDbClose(second), 0);
}

struct DamageCase {
    const char* name;    // test name
    const char* content; // the file
    const char* problem; // expected in the status text
};

class DamagedDatabaseTest : public DatabaseTest, public testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedDatabaseTest, FailsTheOpenAndLeavesTheFile) {
    install.Write("data/bad.nsf", GetParam().content);
    DBHANDLE db = 0;
    const STATUS status = NSFDbOpen("bad.nsf", &db);
    EXPECT_EQ(status, 0x010B);
    EXPECT_EQ(db, 0u);
    const std::string text = StatusText(status);
    EXPECT_NE(text.find("bad.nsf"), std::string::npos) << text;
    EXPECT_NE(text.find(GetParam().problem), std::string::npos) << text;
    EXPECT_EQ(install.Read("data/bad.nsf"), GetParam().content);
    EXPECT_EQ(OpenDatabases(), 0u);
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

} // namespace
