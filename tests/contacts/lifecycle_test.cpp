// Init for contacts, Uninit and the destruction of the object: the address books they open
// and close, the server address book, and their failures.
#include "contacts_fixture.h"

#include "notescontact.h"

namespace {

using korvo_test::TakeTraceLines;

uint32_t OpenDatabases() {
    NotesrtCounts counts = {};
    NotesrtGetCounts(&counts);
    return counts.databases;
}

TEST_F(ContactsTest, InitOpensTheLocalBookOnceAndUninitClosesIt) {
    IKorvoLotus* object = Started();
    EXPECT_EQ(OpenDatabases(), 1u);
    EXPECT_EQ(object->Init(2), 0);
    EXPECT_EQ(OpenDatabases(), 1u);
    ASSERT_EQ(NotesrtSetFaults("NSFDbClose@1=0x1234"), 0);
    object->Uninit();
    const auto trace = TakeTraceLines();
    EXPECT_TRUE(Traced(trace, "NotesAPIErrHandler", "NSFDbClose -- error[4660]:"));
    EXPECT_TRUE(Traced(trace, "CNotesCtrl::Uninit", "end"));
    EXPECT_EQ(object->Init(2), 0);
    std::vector<ContactInfo> results;
    EXPECT_EQ(Resolve({"Ann Lee"}, false, results), 0);
}

TEST_F(ContactsTest, ServerBookIsSearchedBrieflyAndClosedWithTheLocalOne) {
    IKorvoLotus* object = Started();
    CNotesContacts* contacts = CNotesContacts::GetInstance();
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(contacts->OpenAddressBook("CN=Mail01/O=Acme"), 1);
        EXPECT_EQ(OpenDatabases(), 2u);
        contacts->SelectAddressBook(1);
        std::vector<ContactInfo> results;
        contacts->SearchContactsInfoByPrimaryField("sam", 1, results, 1);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(Describe(results[0]), "fullName=Sam Server|email=sam@acme.example|found=1|"
                                        "photo=0|unid=");
        object->Uninit();
        EXPECT_EQ(object->Init(2), 0);
    }
}

TEST_F(ContactsTest, DestructionFreesTheSearcher) {
    Started();
    CNotesContacts* first = CNotesContacts::GetInstance();
    first->SelectAddressBook(0);
    DllDeleteKorvoLotusClassObject();
    EXPECT_EQ(OpenDatabases(), 0u);
    std::vector<ContactInfo> results;
    CNotesContacts::GetInstance()->SearchContactsInfoByPrimaryField("Ann", 1, results, 0);
    EXPECT_TRUE(results.empty());
    EXPECT_TRUE(Traced(TakeTraceLines(), "CNotesContacts::SearchContactsInfoByPrimaryField",
                       "invalid database handle!!"));
}

TEST_F(ContactsTest, BookWithoutUsersViewOpensButFindsNothing) {
    installation.WriteDataFile("names.nsf", R"({"notes": [{"items": [["Form", "Person"],
                                                   ["FullName", "Ann Lee"]]}]})");
    Started();
    std::vector<ContactInfo> results;
    EXPECT_EQ(Resolve({"Ann Lee"}, false, results), 1);
    EXPECT_TRUE(Traced(TakeTraceLines(), "CNotesContacts::SearchContactsInfoByPrimaryField",
                       "invalid database handle!!"));
}

// Init for contacts when the local address book cannot be opened.
struct InitFaultRow {
    const char* plan;    // the fault plan
    const char* message; // what the error handler or the searcher logged
};

class InitFaultTest : public ContactsTest, public testing::WithParamInterface<InitFaultRow> {};

TEST_P(InitFaultTest, InitFailsWithoutTheLocalBook) {
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    ASSERT_EQ(NotesrtSetFaults(GetParam().plan), 0);
    EXPECT_EQ(object->Init(2), 1);
    const auto trace = TakeTraceLines();
    EXPECT_TRUE(Traced(trace, "NotesAPIErrHandler", GetParam().message) ||
                Traced(trace, "CNotesContacts::OpenAddressBook", GetParam().message));
    EXPECT_TRUE(Traced(trace, "CNotesCtrl::InitializeContactResolutionContext", "Failed!!"));
    EXPECT_TRUE(Traced(trace, "CNotesCtrl::Init", "Failure"));
    EXPECT_EQ(OpenDatabases(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Calls, InitFaultTest,
                         testing::Values(InitFaultRow{"NSFDbOpen@1=0x1234",
                                                      "NSFDbOpen -- error[4660]:"},
                                         InitFaultRow{"NAMEGetAddressBooks@1=0x1234",
                                                      "Fail to Get Address Book File Name!!"}),
                         [](const testing::TestParamInfo<InitFaultRow>& row) {
                             const std::string plan = row.param.plan;
                             return plan.substr(0, plan.find('@'));
                         });

} // namespace
