// Network paths, servers and address books.
#include "notesrt_testing.h"
#include "temp_install.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PathCase {
    const char* port;   // port part
    const char* server; // server part
    const char* file;   // file part
    const char* path;   // the joined path
};

class PathTest : public testing::TestWithParam<PathCase> {};

TEST_P(PathTest, ConstructsAndParsesBack) {
    const PathCase& c = GetParam();
    char path[MAXPATH] = {};
    ASSERT_EQ(OSPathNetConstruct(c.port, c.server, c.file, path), 0);
    EXPECT_STREQ(path, c.path);
    char port[MAXPATH], server[MAXPATH], file[MAXPATH];
    ASSERT_EQ(OSPathNetParse(path, port, server, file), 0);
    EXPECT_STREQ(port, c.server[0] == '\0' ? "" : c.port);
    EXPECT_STREQ(server, c.server);
    EXPECT_STREQ(file, c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathTest,
    testing::Values(PathCase{"", "", "names.nsf", "names.nsf"},
                    PathCase{"", "CN=Hub/O=Acme", "mail\\ann.nsf", "CN=Hub/O=Acme!!mail\\ann.nsf"},
                    PathCase{"TCPIP", "Hub/Acme", "names.nsf", "TCPIP!!Hub/Acme!!names.nsf"},
                    PathCase{"TCPIP", "", "local.nsf", "local.nsf"}));

TEST(Path, RefusesWhatDoesNotFit) {
    char path[MAXPATH] = {};
    const std::string file255(255, 'f');
    EXPECT_EQ(OSPathNetConstruct(nullptr, nullptr, file255.c_str(), path), 0);
    EXPECT_NE(OSPathNetConstruct(nullptr, "S", file255.c_str(), path), 0);
    char port[MAXPATH], server[MAXPATH], file[MAXPATH];
    EXPECT_NE(OSPathNetParse(("S!!" + std::string(256, 'f')).c_str(), port, server, file), 0);
    EXPECT_STREQ(file, "");
}

struct BookCase {
    const char* name;               // test name
    const char* ini;                // extra notes.ini lines
    const char* server;             // server asked for
    STATUS expected;                // ERR() of the answer
    std::vector<std::string> books; // the paths listed
};

class AddressBookTest : public testing::TestWithParam<BookCase> {};

TEST_P(AddressBookTest, ListsTheBooks) {
    TempInstall install;
    install.WriteStandard(GetParam().ini);
    install.Write("data/servers/Hub/names.nsf", "{}");
    ASSERT_EQ(install.Start(), 0);
    uint16_t count = 99, length = 99;
    DHANDLE handle = 77;
    const STATUS status = NAMEGetAddressBooks(GetParam().server, 0, &count, &length, &handle);
    ASSERT_EQ(ERR(status), GetParam().expected) << StatusText(status);
    if (status != 0) {
        EXPECT_NE(StatusText(status).find(GetParam().server), std::string::npos);
        return;
    }
    ASSERT_EQ(count, GetParam().books.size());
    std::vector<std::string> books;
    if (count == 0) {
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(length, 0u);
    } else {
        const auto* block = static_cast<const char*>(OSLockObject(handle));
        for (size_t offset = 0; offset < length; offset += books.back().size() + 1)
            books.emplace_back(block + offset);
        EXPECT_EQ(OSUnlockObject(handle), 0);
        EXPECT_EQ(OSMemFree(handle), 0);
    }
    EXPECT_EQ(books, GetParam().books);
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.memoryAllocated, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Books, AddressBookTest,
    testing::Values(
        BookCase{"DefaultLocal", "", "", 0, {"names.nsf"}},
        BookCase{
            "ListedLocal", "NAMES=a.nsf, b.nsf,,c.nsf\n", nullptr, 0, {"a.nsf", "b.nsf", "c.nsf"}},
        BookCase{"EmptyNames", "NAMES=\n", "", 0, {}},
        BookCase{"CanonicalServer", "", "CN=Hub/O=Acme", 0, {"CN=Hub/O=Acme!!names.nsf"}},
        BookCase{"AbbreviatedServer", "", "Hub/Acme", 0, {"Hub/Acme!!names.nsf"}},
        BookCase{"MissingServer", "", "CN=Far/O=Acme", 0x010D, {}},
        BookCase{"EscapingServer", "", "CN=../O=Acme", 0x010D, {}},
        BookCase{"EmptyCommonName", "", "CN=/O=Acme", 0x010D, {}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
