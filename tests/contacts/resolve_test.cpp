// The two contact operations over the address book: records field by field with their
// fallbacks, photos, searches by key and by IM login, and planned runtime failures.
#include "contacts_fixture.h"

namespace {

using korvo_test::TakeTraceLines;

const char kAnnLee[] =
    "fullName=Ann Lee|firstName=Ann|lastName=Lee|email=ann.lee@acme.example|"
    "imLogin=ann.lee/acme|jobTitle=Engineer|company=Acme|department=R&D|officePhone=+1 555 0101|"
    "cellPhone=+1 555 0100|faxPhone=+1 555 0103|phone=+1 555 0102|"
    "webSite=https://acme.example/ann|officeCountry=USA|officeZip=10001|officeState=NY|"
    "officeStreet=1 Main Street|officeCity=New York|found=1|photo=1|"
    "unid=8A3F0C6D4E1B22F1C1257E2B0036A1F2|"
    "sha256=6e24895ad7c056b27cd49ad2fab7a5f1b6a1f7a3cf4117ca3b94ed89753abdf6";

struct ResolveRow {
    ResolveRow(const char* name_, std::vector<std::string> terms_, bool search_, int32_t result_,
               std::vector<std::string> contacts_, const char* function_ = nullptr,
               const char* message_ = nullptr)
        : name(name_), terms(std::move(terms_)), search(search_), result(result_),
          contacts(std::move(contacts_)), function(function_), message(message_) {}

    const char* name;                  // the row's name
    std::vector<std::string> terms;    // the query (one term: ResolveContact)
    bool search;                       // ResolveContactBySearchQuery even for one term
    int32_t result;                    // the operation's answer
    std::vector<std::string> contacts; // the start of each record's description, in order
    const char* function;              // a function that must have logged ...
    const char* message;               // ... a message starting with this; null: none
};

class ResolveTest : public ContactsTest, public testing::WithParamInterface<ResolveRow> {};

TEST_P(ResolveTest, AnswersWithTheRecords) {
    Started();
    const uint32_t baseline = korvo_test::OpenHandles();
    std::vector<ContactInfo> results(1);
    EXPECT_EQ(Resolve(GetParam().terms, GetParam().search, results), GetParam().result);
    ASSERT_EQ(results.size(), GetParam().contacts.size());
    for (size_t i = 0; i < results.size(); ++i) {
        const std::string& want = GetParam().contacts[i];
        EXPECT_EQ(Describe(results[i]).substr(0, want.size()), want);
    }
    if (GetParam().message != nullptr) {
        EXPECT_TRUE(Traced(TakeTraceLines(), GetParam().function, GetParam().message));
    }
    EXPECT_EQ(korvo_test::OpenHandles(), baseline);
}

const std::string kUnidOf = "unid=C1257E2B0036A1F2000000000000000"; // + the note's position

INSTANTIATE_TEST_SUITE_P(
    Contacts, ResolveTest,
    testing::Values(
        ResolveRow("FullRecord", {"ann lee"}, false, 0, {kAnnLee}),
        ResolveRow("LaterNamesAndMissingItems", {"Anna Berg"}, false, 0,
                   {"fullName=Anna Berg|firstName=Anna|lastName=Berg|email=anna@acme.example|"
                    "imLogin=anna.berg/acme|officePhone=+1 555 0201|found=0|photo=0|" +
                    kUnidOf + "1"}),
        ResolveRow("Accents", {"JOSÉ NÚÑEZ"}, false, 0,
                   {"fullName=José Núñez|firstName=José|lastName=Núñez|email=jose@acme.example|"
                    "company=Compañía Acme|officeCity=Zürich|found=0|photo=0|" +
                    kUnidOf + "2"}),
        ResolveRow("Cjk", {"李小龍"}, false, 0,
                   {"fullName=李小龍|firstName=小龍|lastName=李|email=li@acme.example|"
                    "department=研究開発|found=0"}),
        ResolveRow("EmptyItemEndsTheField", {"Gil Empty"}, false, 0,
                   {"email=gil@acme.example|found=0"}),
        ResolveRow("LongTextIsCut", {"Lou Long"}, false, 0,
                   {"fullName=Lou Long|jobTitle=" + std::string(255, 'x') + "|found=0"},
                   "GetTextByNoteItem",
                   "Text buffer is not enough for note item[JobTitle], STACK Buffer Overflow!!"),
        ResolveRow("FormInLowerCase", {"Bo Chen"}, false, 1, {}),
        ResolveRow("FormWithTwoValues", {"Cy Diaz"}, false, 1, {}),
        ResolveRow("NotAPerson", {"Ann Team"}, false, 1, {}),
        ResolveRow("EmptyQuery", {""}, false, 0, {}, "CNotesCtrl::ResolveContact",
                   "Query string[],resolveByUri[0]"),
        ResolveRow("PhotoNameInLowerCase", {"Pat Lower"}, false, 0,
                   {"fullName=Pat Lower|found=0|photo=0"}, "GetAttachmentFile",
                   "Attachment[165] is invalid file object!!"),
        ResolveRow("PhotoNameWithExtension", {"Pat Extension"}, false, 0,
                   {"fullName=Pat Extension"}, "GetAttachmentFile",
                   "Attachment[165] is invalid file object!!"),
        ResolveRow("PhotoNotAFile", {"Pat Object"}, false, 0, {"fullName=Pat Object"},
                   "ValidateAttachmentFile", "Attachment object[1] is not an file!!"),
        ResolveRow("PhotoNotFromDos", {"Pat Host"}, false, 0, {"fullName=Pat Host"},
                   "ValidateAttachmentFile", "Attachment object is not file[2] of DOS format!!"),
        ResolveRow("PhotoEmpty", {"Pat Empty"}, false, 0, {"fullName=Pat Empty|found=0|photo=0"},
                   "GetAttachmentFile", "Attachment file object size[0] is invalid!!"),
        ResolveRow("PhotoNotExtracted", {"Pat Raw"}, false, 0, {"fullName=Pat Raw|found=0|photo=0"},
                   "GetAttachmentFile", "failed to extract contact photo"),
        ResolveRow("PhotoItemIsText", {"Pat Text"}, false, 0, {"fullName=Pat Text"},
                   "GetAttachmentFile", "Attachment[1280] is not an object!!"),
        ResolveRow("PhotoObjectCut", {"Pat Short"}, false, 0, {"fullName=Pat Short"},
                   "GetAttachmentFile", "Cannot get attachment object!!"),
        ResolveRow("SearchLoginIgnoringCase", {"annie"}, true, 0, {"fullName=Hannah Ng|"}),
        ResolveRow("SearchKeyAndLoginOnce", {"ANN.LEE"}, true, 0, {"fullName=Ann Lee|"}),
        ResolveRow("SearchTwoTermsByKeyOnly", {"annie", ""}, true, 1, {},
                   "CNotesCtrl::ResolveContactBySearchQuery", "Query string[annie ]")),
    korvo_test::RowName<ResolveRow>);

// A planned failure of each runtime call on the contact paths: reported under its label, the
// operation still answers, and nothing stays open but what the failed call could not close.
struct FaultRow {
    FaultRow(const char* plan_, std::vector<std::string> terms_, int32_t result_,
             const char* message_, const char* function_ = "NotesAPIErrHandler")
        : plan(plan_), terms(std::move(terms_)), result(result_), message(message_),
          function(function_) {}

    const char* plan;               // the fault plan
    std::vector<std::string> terms; // the search (one term by key and by IM login)
    int32_t result;                 // the operation's answer
    const char* message;            // a message starting with this, logged by ...
    const char* function;           // ... this function
};

class ContactFaultTest : public ContactsTest, public testing::WithParamInterface<FaultRow> {};

TEST_P(ContactFaultTest, ReportsTheFailedCall) {
    Started();
    const uint32_t baseline = korvo_test::OpenHandles();
    ASSERT_EQ(NotesrtSetFaults(GetParam().plan), 0);
    std::vector<ContactInfo> results;
    EXPECT_EQ(Resolve(GetParam().terms, true, results), GetParam().result);
    NotesrtSetFaults(nullptr);
    EXPECT_TRUE(Traced(TakeTraceLines(), GetParam().function, GetParam().message));
    EXPECT_EQ(korvo_test::OpenHandles(), baseline);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ContactFaultTest,
    testing::Values(
        FaultRow("NIFOpenCollection@1=0x1234", {"Ann Lee"}, 1, "NIFOpenCollection -- error[4660]:"),
        FaultRow("NIFFindByName@1=0x1234", {"Ann Lee"}, 1, "NIFFindByName -- error[4660]:"),
        FaultRow("NIFReadEntries@1=0x1234", {"Ann Lee"}, 1, "NIFReadEntries -- error[4660]:"),
        FaultRow("NIFCloseCollection@1=0x1234", {"Ann Lee"}, 0,
                 "CloseCollection---NIFCloseCollection -- error[4660]:"),
        FaultRow("NSFNoteOpenExt@1=0x1234", {"Ann Lee"}, 1,
                 "fail to open Note handle with Notes ID[0xa]!!",
                 "CNotesContacts::ReadContactsInfoFromEtries"),
        FaultRow("NSFNoteClose@1=0x1234", {"Ann Lee"}, 0,
                 "CloseNote---NSFNoteClose -- error[4660]:"),
        FaultRow("NSFItemInfo@20=0x1234", {"Ann Lee"}, 0,
                 "GetAttachmentFile---NSFItemInfo -- error[4660]:"),
        FaultRow("NSFNoteExtractFile@1=0x1234", {"Ann Lee"}, 0, "failed to extract contact photo",
                 "GetAttachmentFile"),
        FaultRow("NSFSearch@1=0x1234", {"annie"}, 1, "No Collection matched  with [annie]!!",
                 "CNotesContacts::SearchContactsInfoByIMAddress"),
        FaultRow("NSFNoteOpenExt@1=0x1234", {"annie"}, 0,
                 "OpenNoteByNoteID---NSFNoteOpenExt -- error[4660]:"),
        FaultRow("NSFNoteOpenByUNID@1=0x1234", {"annie"}, 1,
                 "fail to open Note handle with UNID[C1257E2B0036A1F20000000000000006]!!",
                 "CNotesContacts::ReadContactInfoMatchedIMAddress")),
    [](const testing::TestParamInfo<FaultRow>& row) {
        std::string name = row.param.plan;
        return name.substr(0, name.find('@')) + "_" + std::to_string(row.index);
    });

} // namespace
