// Starting and stopping the runtime, notes.ini and the user's name; network paths and the
// address books listed; memory handles and text lists, with the runtime's accounting.
#include "temp_install.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

struct StartCase {
    const char* name;     // test name
    const char* ini;      // notes.ini ({elsewhere}: a folder in the installation); null: none
    const char* idFile;   // the ID file written, relative to the folder; null: none
    const char* idText;   // its content
    STATUS expected;      // ERR() of NotesInitExtended
    const char* textPart; // expected inside the status text
};

class StartTest : public testing::TestWithParam<StartCase> {};

TEST_P(StartTest, StartsOrFailsWithItsStatus) {
    const StartCase& row = GetParam();
    TempInstall install;
    if (row.ini != nullptr) {
        std::string ini = row.ini;
        const size_t at = ini.find("{elsewhere}");
        if (at != std::string::npos)
            ini.replace(at, 11, (install.root / "elsewhere").u8string());
        install.Write("notes.ini", ini);
    }
    if (row.idFile != nullptr)
        install.Write(row.idFile, row.idText);
    const STATUS status = install.Start();
    EXPECT_EQ(ERR(status), row.expected);
    EXPECT_NE(StatusText(status).find(row.textPart), std::string::npos) << StatusText(status);
    char name[MAXUSERNAME] = {};
    EXPECT_EQ(SECKFMGetUserName(name) == 0, row.expected == 0);
}

const char kIni[] = "[Notes]\nDirectory=data\nKeyFileName=user.id\n";

const StartCase kStartCases[] = {
    {"Standard", kIni, "data/user.id", "CN=Ann Lee/O=Acme\n", 0, ""},
    {"NoNotesIni", nullptr, nullptr, nullptr, 0x0104, "notes.ini"},
    {"NoKeyFileName", "Directory=data\n", nullptr, nullptr, 0x0105, "KeyFileName"},
    {"IdFileMissing", "Directory=data\nKeyFileName=x.id\n", nullptr, nullptr, 0x0105, "x.id"},
    {"IdFileLocked", kIni, "data/user.id", "CN=Ann Lee/O=Acme\r\nlocked\r\n", 6022, "locked"},
    {"IdFileEmpty", kIni, "data/user.id", "", 0x0106, "user.id"},
    {"AbsoluteDirectoryAndCrLf", "Directory={elsewhere}\r\nKeyFileName=me.id\r\n",
     "elsewhere/me.id", "CN=Ann Lee/O=Acme", 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Installations, StartTest, testing::ValuesIn(kStartCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Stopped, the runtime names no user and reads no notes.ini value; started again without the
// ini argument, it finds notes.ini in the program directory.
TEST(Start, RetriesAfterTheIdFileIsUnlockedAndRestartsAfterStop) {
    TempInstall install;
    install.WriteStandard("MailType=0\n");
    install.Write("data/user.id", "CN=Ann Lee/O=Acme\nlocked\n");
    EXPECT_EQ(install.Start(), ERR_ID_LOCKED);
    install.Write("data/user.id", "CN=Bo Chen/O=Acme\n");
    ASSERT_EQ(install.Start(), 0);
    EXPECT_EQ(install.Start(), 0);
    NotesTerm();
    char name[MAXUSERNAME] = {};
    EXPECT_NE(SECKFMGetUserName(name), 0);
    char value[16] = "x";
    EXPECT_EQ(OSGetEnvironmentString("MailType", value, 15), 0);
    EXPECT_STREQ(value, "");
    std::string program = install.root.string();
    char* argv[] = {program.data()};
    ASSERT_EQ(NotesInitExtended(1, argv), 0);
    char info[MAXUSERNAME + 1] = {};
    ASSERT_EQ(SECKFMUserInfo(KFM_ui_GetUserInfo, info, nullptr), 0);
    EXPECT_STREQ(info, "CN=Bo Chen/O=Acme");
    EXPECT_NE(SECKFMUserInfo(2, info, nullptr), 0);
}

TEST(Environment, ReadsNotesIniValues) {
    TempInstall install;
    install.WriteStandard("NoEqualsHere\nMailType=0\nEmpty=\n  Spaced  = v \nMAILTYPE=1\n"
                          "V255=" +
                          std::string(255, 'a') + "\nV256=" + std::string(256, 'b') +
                          "\nV300=" + std::string(300, 'c') + "\n");
    ASSERT_EQ(install.Start(), 0);
    // The variable asked for, the answer and the value (read with room for 255 characters).
    const std::tuple<const char*, int, std::string> rows[] = {{"mailtype", 1, "0"},
                                                              {"Empty", 1, ""},
                                                              {"Spaced", 1, " v "},
                                                              {"NoEqualsHere", 0, ""},
                                                              {"Missing", 0, ""},
                                                              {"V255", 1, std::string(255, 'a')},
                                                              {"V256", 1, std::string(255, 'b')},
                                                              {"V300", 1, std::string(255, 'c')}};
    for (const auto& [key, found, expected] : rows) {
        char value[MAXENVVALUE];
        std::fill(std::begin(value), std::end(value), 'x');
        EXPECT_EQ(OSGetEnvironmentString(key, value, MAXENVVALUE - 1), found) << key;
        EXPECT_EQ(std::string(value), expected) << key;
    }
}

TEST(Path, ConstructsAndParsesBackAndRefusesWhatDoesNotFit) {
    // Port, server and file, and the path they join into.
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"", "", "names.nsf", "names.nsf"},
        {"", "CN=Hub/O=Acme", "mail\\ann.nsf", "CN=Hub/O=Acme!!mail\\ann.nsf"},
        {"TCPIP", "Hub/Acme", "names.nsf", "TCPIP!!Hub/Acme!!names.nsf"},
        {"TCPIP", "", "local.nsf", "local.nsf"}};
    char path[MAXPATH] = {};
    char port[MAXPATH], server[MAXPATH], file[MAXPATH];
    for (const auto& [portPart, serverPart, filePart, joined] : rows) {
        ASSERT_EQ(OSPathNetConstruct(portPart, serverPart, filePart, path), 0);
        EXPECT_STREQ(path, joined);
        ASSERT_EQ(OSPathNetParse(path, port, server, file), 0);
        EXPECT_STREQ(port, serverPart[0] == '\0' ? "" : portPart);
        EXPECT_STREQ(server, serverPart);
        EXPECT_STREQ(file, filePart);
    }
    const std::string file255(255, 'f');
    EXPECT_EQ(OSPathNetConstruct(nullptr, nullptr, file255.c_str(), path), 0);
    EXPECT_NE(OSPathNetConstruct(nullptr, "S", file255.c_str(), path), 0);
    EXPECT_NE(OSPathNetParse(("S!!" + std::string(256, 'f')).c_str(), port, server, file), 0);
    EXPECT_STREQ(file, "");
}

using namespace std::string_literals;

TEST(AddressBooks, ListsTheBooks) {
    // The extra notes.ini lines, the server asked for, ERR() of the answer and the paths
    // listed, each ended by a zero as in the block.
    const std::tuple<const char*, const char*, STATUS, std::string> rows[] = {
        {"", "", 0, "names.nsf\0"s},
        {"NAMES=a.nsf, b.nsf,,c.nsf\n", nullptr, 0, "a.nsf\0b.nsf\0c.nsf\0"s},
        {"NAMES=\n", "", 0, ""},
        {"", "CN=Hub/O=Acme", 0, "CN=Hub/O=Acme!!names.nsf\0"s},
        {"", "Hub/Acme", 0, "Hub/Acme!!names.nsf\0"s},
        {"", "CN=Far/O=Acme", 0x010D, ""},
        {"", "CN=../O=Acme", 0x010D, ""},
        {"", "CN=/O=Acme", 0x010D, ""}};
    for (const auto& [ini, server, expected, books] : rows) {
        SCOPED_TRACE(std::string(ini) + "|" + (server == nullptr ? "null" : server));
        TempInstall install;
        install.WriteStandard(ini);
        install.Write("data/servers/Hub/names.nsf", "{}");
        ASSERT_EQ(install.Start(), 0);
        uint16_t count = 99, length = 99;
        DHANDLE handle = 77;
        const STATUS status = NAMEGetAddressBooks(server, 0, &count, &length, &handle);
        ASSERT_EQ(ERR(status), expected) << StatusText(status);
        if (status != 0) {
            EXPECT_NE(StatusText(status).find(server), std::string::npos);
            continue;
        }
        EXPECT_EQ(count, std::count(books.begin(), books.end(), '\0'));
        ASSERT_EQ(length, books.size());
        EXPECT_EQ(handle == 0, books.empty()); // no block for no books
        EXPECT_EQ(handle == 0 ? "" : BlockBytes(handle, length), books);
        EXPECT_EQ(OSMemFree(handle), 0);
        EXPECT_EQ(Counts().memoryAllocated, 0u);
    }
}

// A started runtime.
class MemoryTest : public testing::Test {
  protected:
    void SetUp() override {
        install.WriteStandard();
        ASSERT_EQ(install.Start(), 0);
    }

    TempInstall install; // the installation the runtime runs on
};

TEST_F(MemoryTest, CountsAllocatedAndLockedHandles) {
    DHANDLE handle = 0;
    ASSERT_EQ(OSMemAlloc(0, 100, &handle), 0);
    EXPECT_EQ(Counts().memoryAllocated, 1u);
    EXPECT_EQ(Counts().memoryLocked, 0u);
    auto* bytes = static_cast<char*>(OSLockObject(handle));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(OSLockObject(handle), bytes);
    EXPECT_EQ(Counts().memoryLocked, 1u);
    EXPECT_EQ(OSUnlockObject(handle), 1);
    EXPECT_EQ(OSUnlockObject(handle), 0);
    EXPECT_EQ(OSUnlockObject(handle), 0);
    EXPECT_EQ(NotesrtMemLockCount(handle), 0);
    uint32_t size = 0;
    EXPECT_EQ(OSMemGetSize(handle, &size), 0);
    EXPECT_EQ(size, 100u);
    EXPECT_EQ(OSMemFree(handle), 0);
    EXPECT_NE(OSMemFree(handle), 0);
    EXPECT_EQ(Counts().memoryAllocated, 0u);
}

// A free/busy answer for the user is a container that the counts show until it is freed.
TEST_F(MemoryTest, CountsScheduleContainers) {
    std::string names = "\x01\x00\x11\x00"s + "CN=Ann Lee/O=Acme"; // LIST of one name
    TIMEDATE_PAIR interval;
    OSCurrentTIMEDATE(&interval.Lower);
    interval.Upper = interval.Lower;
    HCNTNR container = 0;
    ASSERT_EQ(SchRetrieve(nullptr, nullptr, 0, &interval, reinterpret_cast<LIST*>(names.data()),
                          &container, nullptr, nullptr, nullptr),
              0);
    EXPECT_NE(container, 0u);
    EXPECT_EQ(Counts().scheduleContainers, 1u);
    SchContainer_Free(container);
    EXPECT_EQ(Counts().scheduleContainers, 0u);
}

TEST_F(MemoryTest, HandleZeroDoesNothingAndForeignHandlesFail) {
    EXPECT_EQ(OSLockObject(NULLHANDLE), nullptr);
    EXPECT_EQ(OSUnlockObject(NULLHANDLE), 0);
    EXPECT_EQ(OSMemFree(NULLHANDLE), 0);
    DHANDLE huge = 0;
    EXPECT_NE(OSMemAlloc(0, 0x20000000u, &huge), 0);
    EXPECT_EQ(huge, 0u);
    uint16_t size = 2;
    EXPECT_NE(ListAddEntry(0x12345678u, 0, &size, 0, "a", 1), 0);
    DHANDLE small = 0;
    ASSERT_EQ(OSMemAlloc(0, 1, &small), 0);
    EXPECT_NE(ListAddEntry(small, 0, &size, 0, "a", 1), 0);
    EXPECT_EQ(OSMemFree(small), 0);
}

class ListTest : public MemoryTest, public testing::WithParamInterface<bool> {};

TEST_P(ListTest, AllocatesLockedAndAddsEntriesInPlace) {
    const bool prefixed = GetParam();
    DHANDLE list = 0;
    void* pointer = nullptr;
    uint16_t size = 0;
    ASSERT_EQ(ListAllocate(0, 0, prefixed, &list, &pointer, &size), 0);
    EXPECT_EQ(NotesrtMemLockCount(list), 1);
    EXPECT_EQ(Counts().memoryLocked, 1u);
    const std::string prefix = prefixed ? "\x01\x05" : ""; // TYPE_TEXT_LIST
    EXPECT_EQ(std::string(static_cast<char*>(pointer), size), prefix + std::string(2, '\0'));
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 0, "bb", 2), 0);
    EXPECT_EQ(NotesrtMemLockCount(list), 1);
    OSUnlockObject(list);
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 0, "a", 1), 0);
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 2, "dddd", 4), 0);
    ASSERT_EQ(ListAddEntry(list, prefixed, &size, 2, "", 0), 0);
    EXPECT_EQ(NotesrtMemLockCount(list), 0);
    EXPECT_NE(ListAddEntry(list, prefixed, &size, 9, "x", 1), 0);
    // The count, the lengths and the texts "a", "bb", "", "dddd".
    const std::string entries("\x04\x00\x01\x00\x02\x00\x00\x00\x04\x00"
                              "abbdddd",
                              17);
    ASSERT_EQ(size, prefix.size() + entries.size());
    EXPECT_EQ(BlockBytes(list, size), prefix + entries);
    EXPECT_EQ(OSMemFree(list), 0);
    EXPECT_EQ(Counts().memoryAllocated, 0u);
}

INSTANTIATE_TEST_SUITE_P(Prefix, ListTest, testing::Bool());

} // namespace
