// The runtime wrappers: the error handler, notes.ini values, the user, address books and
// databases, and their failures. Each runtime call failed by plan is swept by tests/calendarops
// (fault_sweep_tests); what the wrappers leave then is checked where it is used (the memo's
// From item: mail_tests OwnerName; Init for contacts: contacts_tests NAMEGetAddressBooks).
#include "notesclib.h"
#include "runtime_case.h"

#include <cstring>

namespace {

using korvo_test::RuntimeCase;

class WrapperTest;
using Case = RuntimeCase<WrapperTest>;

class WrapperTest : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        NotesrtReset();
        installation.WriteDataFile("names.nsf", R"({"title": "Names", "notes": []})");
        ASSERT_EQ(korvo_test::StartRuntime(installation), 0);
    }
    void TearDown() override {
        EXPECT_EQ(korvo_test::OpenHandles(), 0u);
        NotesrtReset();
    }

    korvo_test::NotesInstallation installation{{"MailType=0", "MailServer=CN=Mail1/O=Acme",
                                                "Empty=", "Long=" + std::string(300, 'x'),
                                                "NAMES=names.nsf, other.nsf,third.nsf"}};
};

TEST_P(WrapperTest, GivesTheResultAndTheMessages) {
    korvo_test::CheckCase(*this, GetParam());
}

// The last status and the handler's whole lines.
std::string Handler(WrapperTest&) {
    NotesAPIErrHandler("OpenNoteByUNID---NSFNoteOpenByUNID", 0x8404);
    NotesAPIErrHandler(nullptr, 0x0222);
    std::string out = std::to_string(GetLastNotesStatus());
    for (const korvo_test::TraceLine& line : korvo_test::TakeTraceLines())
        out += "|" + line.message;
    SetLastNotesStatus(0);
    return out;
}

// GetEnvironmentString's answer and what it left in a buffer full of "z".
template <const char* name> std::string Environment(WrapperTest&) {
    char buffer[256];
    std::memset(buffer, 'z', sizeof buffer);
    const bool found = GetEnvironmentString(name, buffer);
    return std::to_string(found) + " " + buffer;
}

std::string Owner(WrapperTest&) {
    char name[256];
    GetOwnerName(name);
    return name;
}

std::string AddressBook(WrapperTest&) {
    char file[256] = "junk";
    GetAddressBookFileName(nullptr, file);
    return file;
}

// "0" when OpenDB left the handle zero.
template <const char* server, const char* file> std::string Open(WrapperTest&) {
    DBHANDLE db = NULLHANDLE;
    OpenDB(server, file, &db);
    return std::to_string(db);
}

// Opens twice, closes with a failing close, then again; whether the first open is the only
// one, the handle is cleared and the database was really closed.
std::string OpenAndClose(WrapperTest&) {
    DBHANDLE db = NULLHANDLE;
    OpenDB("", "names.nsf", &db);
    const DBHANDLE first = db;
    OpenDB("", "names.nsf", &db);
    const std::string once = db == first && db != NULLHANDLE ? "once" : "again";
    NotesrtSetFaults("NSFDbClose@1=0x0404");
    CloseDB(&db);
    NotesrtSetFaults(nullptr);
    CloseDB(&db);
    return once + (db == NULLHANDLE ? " cleared" : " kept") +
           (NSFDbClose(first) != 0 ? " closed" : " open");
}

constexpr char kMailServer[] = "MailServer", kMailType[] = "mailtype", kEmpty[] = "Empty",
               kLong[] = "Long", kMailFile[] = "MailFile";
constexpr char kNone[] = "", kNames[] = "names.nsf", kMissing[] = "missing.nsf",
               kNowhere[] = "CN=Nowhere/O=Acme";
const char kOpenNames[] = "Open database file [names.nsf]";

INSTANTIATE_TEST_SUITE_P(
    Wrappers, WrapperTest,
    ::testing::Values(
        Case("Handler", nullptr, Handler,
             "546|OpenNoteByUNID---NSFNoteOpenByUNID -- error[33796]:Entry not found in "
             "index|Notes API error[546]:Note item not found",
             {}),
        Case("MailServer", nullptr, Environment<kMailServer>, "1 CN=Mail1/O=Acme", {}),
        Case("NameInAnyCase", nullptr, Environment<kMailType>, "1 0", {}),
        Case("EmptyValue", nullptr, Environment<kEmpty>, "1 ", {}),
        Case("At255", nullptr, Environment<kLong>, "1 " + std::string(255, 'x'), {}),
        Case("NoValue", nullptr, Environment<kMailFile>, "0 ",
             {"Fail to read [MailFile] value in notes.ini."}),
        Case("NullBuffers", nullptr,
             [](WrapperTest&) {
                 GetAddressBookFileName(nullptr, nullptr);
                 return std::to_string(GetEnvironmentString("MailType", nullptr));
             },
             "0", {"Invalid parameters!!", "Invalid parameters!!"}),
        Case("Owner", nullptr, Owner, "CN=Ann Lee/O=Acme", {"GetOwnerName:[CN=Ann Lee/O=Acme]"}),
        Case("FirstOfSeveralBooks", nullptr, AddressBook, "names.nsf",
             {"There are more than one entries in NAMES. Use the fisrt DataBase.",
              "Entry[1]:Port = , Server = , File = names.nsf",
              "Entry[2]:Port = , Server = , File = other.nsf",
              "Entry[3]:Port = , Server = , File = third.nsf"}),
        Case("OpenOnceCloseAlways", nullptr, OpenAndClose, "once cleared closed",
             {kOpenNames, "database have been opened before!!", "NSFDbClose"}),
        Case("Missing", nullptr, Open<kNone, kMissing>, "0",
             {"Open database file [missing.nsf]", "NSFDbOpen"}),
        Case("NoServerFolder", nullptr, Open<kNowhere, kNames>, "0",
             {"Open database file [CN=Nowhere/O=Acme!!names.nsf]", "NSFDbOpen"}),
        Case("EmptyPath", nullptr, Open<kNone, kNone>, "0", {"OSPathNetConstruct"})),
    korvo_test::RowName<Case>);

} // namespace
