// Starting and stopping the runtime, notes.ini and the user's name.
#include "notesrt_testing.h"
#include "temp_install.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct StartCase {
    const char* name;                              // test name
    std::function<void(const TempInstall&)> setUp; // prepares the installation
    STATUS expected;                               // ERR() of NotesInitExtended
    const char* textPart;                          // expected inside the status text
};

class StartTest : public testing::TestWithParam<StartCase> {};

TEST_P(StartTest, StartsOrFailsWithItsStatus) {
    TempInstall install;
    GetParam().setUp(install);
    const STATUS status = install.Start();
    EXPECT_EQ(ERR(status), GetParam().expected);
    EXPECT_NE(StatusText(status).find(GetParam().textPart), std::string::npos)
        << StatusText(status);
    char name[MAXUSERNAME] = {};
    EXPECT_EQ(SECKFMGetUserName(name) == 0, GetParam().expected == 0);
}

const StartCase kStartCases[] = {
    {"Standard", [](const TempInstall& i) { i.WriteStandard(); }, 0, ""},
    {"NoNotesIni", [](const TempInstall&) {}, 0x0104, "notes.ini"},
    {"NoKeyFileName", [](const TempInstall& i) { i.Write("notes.ini", "Directory=data\n"); },
     0x0105, "KeyFileName"},
    {"IdFileMissing",
     [](const TempInstall& i) { i.Write("notes.ini", "Directory=data\nKeyFileName=x.id\n"); },
     0x0105, "x.id"},
    {"IdFileLocked",
     [](const TempInstall& i) {
         i.WriteStandard();
         i.Write("data/user.id", "CN=Ann Lee/O=Acme\r\nlocked\r\n");
     },
     6022, "locked"},
    {"IdFileEmpty",
     [](const TempInstall& i) {
         i.WriteStandard();
         i.Write("data/user.id", "");
     },
     0x0106, "user.id"},
    {"AbsoluteDirectoryAndCrLf",
     [](const TempInstall& i) {
         i.Write("notes.ini",
                 "Directory=" + (i.root / "elsewhere").u8string() + "\r\nKeyFileName=me.id\r\n");
         i.Write("elsewhere/me.id", "CN=Ann Lee/O=Acme");
     },
     0, ""},
};

INSTANTIATE_TEST_SUITE_P(Installations, StartTest, testing::ValuesIn(kStartCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Start, FindsNotesIniInTheProgramDirectory) {
    TempInstall install;
    install.WriteStandard();
    std::string program = install.root.string();
    char* argv[] = {program.data()};
    EXPECT_EQ(NotesInitExtended(1, argv), 0);
}

TEST(Start, RetriesAfterTheIdFileIsUnlockedAndRestartsAfterStop) {
    TempInstall install;
    install.WriteStandard();
    install.Write("data/user.id", "CN=Ann Lee/O=Acme\nlocked\n");
    EXPECT_EQ(install.Start(), ERR_ID_LOCKED);
    install.Write("data/user.id", "CN=Bo Chen/O=Acme\n");
    ASSERT_EQ(install.Start(), 0);
    EXPECT_EQ(install.Start(), 0);
    DHANDLE before = 0;
    ASSERT_EQ(OSMemAlloc(0, 16, &before), 0);
    NotesTerm();
    char name[MAXUSERNAME] = {};
    EXPECT_NE(SECKFMGetUserName(name), 0);
    ASSERT_EQ(install.Start(), 0);
    EXPECT_EQ(OSLockObject(before), nullptr);
    EXPECT_NE(OSMemFree(before), 0);
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.memoryAllocated, 0u);
    char info[MAXUSERNAME + 1] = {};
    ASSERT_EQ(SECKFMUserInfo(KFM_ui_GetUserInfo, info, nullptr), 0);
    EXPECT_STREQ(info, "CN=Bo Chen/O=Acme");
    EXPECT_NE(SECKFMUserInfo(2, info, nullptr), 0);
}

struct EnvCase {
    const char* key;      // variable asked for
    int found;            // expected answer
    std::string expected; // expected value (read with room for 255 characters)
};

class EnvironmentTest : public testing::TestWithParam<EnvCase> {};

TEST_P(EnvironmentTest, ReadsNotesIniValues) {
    TempInstall install;
    install.WriteStandard("NoEqualsHere\nMailType=0\nEmpty=\n  Spaced  = v \nMAILTYPE=1\n"
                          "V255=" +
                          std::string(255, 'a') + "\nV256=" + std::string(256, 'b') +
                          "\nV300=" + std::string(300, 'c') + "\n");
    ASSERT_EQ(install.Start(), 0);
    char value[MAXENVVALUE];
    std::fill(std::begin(value), std::end(value), 'x');
    EXPECT_EQ(OSGetEnvironmentString(GetParam().key, value, MAXENVVALUE - 1), GetParam().found);
    EXPECT_EQ(std::string(value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, EnvironmentTest,
                         testing::Values(EnvCase{"mailtype", 1, "0"}, EnvCase{"Empty", 1, ""},
                                         EnvCase{"Spaced", 1, " v "},
                                         EnvCase{"NoEqualsHere", 0, ""}, EnvCase{"Missing", 0, ""},
                                         EnvCase{"V255", 1, std::string(255, 'a')},
                                         EnvCase{"V256", 1, std::string(255, 'b')},
                                         EnvCase{"V300", 1, std::string(255, 'c')}));

TEST(Environment, AnswersNothingWhenNotStarted) {
    char value[16] = "x";
    EXPECT_EQ(OSGetEnvironmentString("MailType", value, 15), 0);
    EXPECT_STREQ(value, "");
}

} // namespace
