// The runtime wrappers: the error handler, notes.ini values, the user, address books and
// databases, each with its failures injected.
#include "notesclib.h"
#include "notes_installation.h"
#include "notesrt_testing.h"
#include "trace_recorder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using korvo_test::NotesInstallation;
using korvo_test::PathText;
using korvo_test::TraceLine;

const char kEmptyDatabase[] = R"({"title": "Names", "replicaId": "C1257E2B0036A1F2",
                                   "dbId": "0000ABCD00001234", "notes": []})";

class WrapperTest : public ::testing::Test {
  protected:
    void SetUp() override {
        NotesrtReset();
        installation.WriteDataFile("names.nsf", kEmptyDatabase);
        std::string dir = PathText(installation.Root());
        std::string ini = "=" + PathText(installation.IniPath());
        char* argv[] = {dir.data(), ini.data()};
        ASSERT_EQ(NotesInitExtended(2, argv), 0);
        korvo_test::ClearTraceLines();
    }
    void TearDown() override {
        NotesrtCounts counts{};
        NotesrtGetCounts(&counts);
        EXPECT_EQ(counts.databases, 0u);
        EXPECT_EQ(counts.memoryAllocated, 0u);
        NotesrtReset();
    }
    // The runtime's text for a status.
    static std::string Text(STATUS status) {
        char text[512] = {};
        OSLoadString(nullptr, status, text, sizeof text);
        return text;
    }

    NotesInstallation installation{{"MailType=0", "MailServer=CN=Mail1/O=Acme",
                                    "Empty=", "Long=" + std::string(300, 'x'),
                                    "NAMES=names.nsf, other.nsf,third.nsf"}};
};

TEST_F(WrapperTest, ErrorHandlerRecordsAndLogsTheStatus) {
    NotesAPIErrHandler("OpenNoteByUNID---NSFNoteOpenByUNID", 0x8404);
    NotesAPIErrHandler(nullptr, 0x0222);
    EXPECT_EQ(GetLastNotesStatus(), 0x0222);
    const std::vector<TraceLine> expected{
        {0, "notesclib.cpp", "NotesAPIErrHandler",
         "OpenNoteByUNID---NSFNoteOpenByUNID -- error[33796]:" + Text(0x0404)},
        {0, "notesclib.cpp", "NotesAPIErrHandler", "Notes API error[546]:" + Text(0x0222)}};
    EXPECT_EQ(korvo_test::TakeTraceLines(), expected);
    SetLastNotesStatus(0);
}

struct EnvironmentRow {
    const char* name;  // the variable
    bool found;        // GetEnvironmentString's answer
    std::string value; // what the buffer holds afterwards
};

class EnvironmentTest : public WrapperTest, public ::testing::WithParamInterface<EnvironmentRow> {};

TEST_P(EnvironmentTest, ReadsAtMost255Characters) {
    const EnvironmentRow& row = GetParam();
    char buffer[256];
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(GetEnvironmentString(row.name, buffer), row.found);
    EXPECT_EQ(std::string(buffer), row.value);
    const auto trace = korvo_test::TakeTraceLines();
    if (row.found)
        EXPECT_TRUE(trace.empty());
    else
        EXPECT_EQ(trace, (std::vector<TraceLine>{{0, "notesclib.cpp", "GetEnvironmentString",
                                                  std::string("Fail to read [") + row.name +
                                                      "] value in notes.ini."}}));
}

INSTANTIATE_TEST_SUITE_P(NotesIni, EnvironmentTest,
                         ::testing::Values(EnvironmentRow{"MailServer", true, "CN=Mail1/O=Acme"},
                                           EnvironmentRow{"mailtype", true, "0"},
                                           EnvironmentRow{"Empty", true, ""},
                                           EnvironmentRow{"Long", true, std::string(255, 'x')},
                                           EnvironmentRow{"MailFile", false, ""}));

TEST_F(WrapperTest, NullBufferIsRefused) {
    EXPECT_FALSE(GetEnvironmentString("MailType", nullptr));
    GetAddressBookFileName(nullptr, nullptr);
    const auto trace = korvo_test::TakeTraceLines();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(trace[0].message, "Invalid parameters!!");
    EXPECT_EQ(trace[1].function, "GetAddressBookFileName");
}

TEST_F(WrapperTest, OwnerNameComesFromTheIdFile) {
    char name[256];
    GetOwnerName(name);
    EXPECT_STREQ(name, "CN=Ann Lee/O=Acme");
    EXPECT_EQ(korvo_test::TakeTraceLines().at(0).message, "GetOwnerName:[CN=Ann Lee/O=Acme]");

    NotesrtSetFaults("SECKFMGetUserName@1=0x0404");
    GetOwnerName(name);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(korvo_test::TakeTraceLines().at(0).message,
              "SECKFMGetUserName -- error[1028]:" + Text(0x0404));
}

TEST_F(WrapperTest, FirstAddressBookOfSeveralIsChosen) {
    char file[256];
    GetAddressBookFileName(nullptr, file);
    EXPECT_STREQ(file, "names.nsf");
    const auto trace = korvo_test::TakeTraceLines();
    ASSERT_EQ(trace.size(), 4u);
    EXPECT_EQ(trace[0].message,
              "There are more than one entries in NAMES. Use the fisrt DataBase.");
    EXPECT_EQ(trace[1].message, "Entry[1]:Port = , Server = , File = names.nsf");
    EXPECT_EQ(trace[3].message, "Entry[3]:Port = , Server = , File = third.nsf");
}

TEST_F(WrapperTest, AddressBookListFailureLeavesTheNameEmpty) {
    NotesrtSetFaults("NAMEGetAddressBooks@1=0x0404");
    char file[256] = "junk";
    GetAddressBookFileName(nullptr, file);
    EXPECT_STREQ(file, "");
    EXPECT_EQ(korvo_test::TakeTraceLines().at(0).message,
              "NAMEGetAddressBooks -- error[1028]:" + Text(0x0404));
}

TEST_F(WrapperTest, OpenDbOpensOnceAndCloseAlwaysClears) {
    DBHANDLE db = NULLHANDLE;
    OpenDB("", "names.nsf", &db);
    ASSERT_NE(db, NULLHANDLE);
    const DBHANDLE first = db;
    OpenDB("", "names.nsf", &db);
    EXPECT_EQ(db, first);
    const auto trace = korvo_test::TakeTraceLines();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(trace[0].message, "Open database file [names.nsf]");
    EXPECT_EQ(trace[1].message, "database have been opened before!!");

    NotesrtSetFaults("NSFDbClose@1=0x0404");
    CloseDB(&db);
    EXPECT_EQ(db, NULLHANDLE);
    EXPECT_EQ(korvo_test::TakeTraceLines().at(0).message,
              "NSFDbClose -- error[1028]:" + Text(0x0404));
    NotesrtSetFaults(nullptr);
    CloseDB(&db);
    EXPECT_TRUE(korvo_test::TakeTraceLines().empty());
    EXPECT_NE(NSFDbClose(first), 0);
}

struct OpenFailureRow {
    const char* name;
    const char* server; // where
    const char* file;   // what
    const char* faults; // what else fails
    const char* label;  // the failed call the handler names
};

class OpenFailureTest : public WrapperTest, public ::testing::WithParamInterface<OpenFailureRow> {};

TEST_P(OpenFailureTest, LeavesTheHandleZero) {
    const OpenFailureRow& row = GetParam();
    NotesrtSetFaults(row.faults);
    DBHANDLE db = NULLHANDLE;
    OpenDB(row.server, row.file, &db);
    EXPECT_EQ(db, NULLHANDLE);
    bool reported = false;
    for (const TraceLine& line : korvo_test::TakeTraceLines())
        reported |= line.function == "NotesAPIErrHandler" &&
                    line.message.rfind(std::string(row.label) + " -- error[", 0) == 0;
    EXPECT_TRUE(reported);
}

INSTANTIATE_TEST_SUITE_P(
    Databases, OpenFailureTest,
    ::testing::Values(
        OpenFailureRow{"Missing", "", "missing.nsf", nullptr, "NSFDbOpen"},
        OpenFailureRow{"NoServerFolder", "CN=Nowhere/O=Acme", "names.nsf", nullptr, "NSFDbOpen"},
        OpenFailureRow{"EmptyPath", "", "", nullptr, "OSPathNetConstruct"},
        OpenFailureRow{"PathFails", "", "names.nsf", "OSPathNetConstruct@1=0x0404",
                       "OSPathNetConstruct"},
        OpenFailureRow{"OpenFails", "", "names.nsf", "NSFDbOpen@1=0x0404", "NSFDbOpen"}),
    [](const ::testing::TestParamInfo<OpenFailureRow>& row) {
        return std::string(row.param.name);
    });

} // namespace
