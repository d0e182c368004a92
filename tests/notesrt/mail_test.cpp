// Mail through the runtime: the lines of bodies, the ownership of lists, storing a message
// into a file changed meanwhile, and the updates NSFNoteUpdate refuses. The whole delivery,
// with planned failures of every call, is in the library's mail suite.
#include "notesrt_testing.h"
#include "status.h"
#include "temp_install.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

constexpr STATUS kPlanned = 0x1234;
const char kMailFile[] = "mail/alee.nsf";

std::string MailFixture(const std::string& name) {
    std::ifstream stream(fs::path(MAIL_FIXTURES) / name, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

NotesrtCounts Counts() {
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    return counts;
}

// A prefixed text list of entries, unlocked.
DHANDLE List(const std::vector<std::string>& entries, uint16_t* size) {
    DHANDLE list = 0;
    void* pointer = nullptr;
    EXPECT_EQ(ListAllocate(0, 0, 1, &list, &pointer, size), 0);
    OSUnlockObject(list);
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(ListAddEntry(list, 1, size, static_cast<uint16_t>(i), entries[i].data(),
                               static_cast<uint16_t>(entries[i].size())),
                  0);
    return list;
}

std::string ItemText(NOTEHANDLE note, const char* name) {
    char text[512] = {};
    NSFItemConvertToText(note, name, text, sizeof text, ';');
    return text;
}

// The rich-text Body as its paragraphs joined by "|".
std::string BodyText(NOTEHANDLE note) {
    BLOCKID value;
    uint32_t length = 0;
    if (NSFItemInfo(note, "Body", 4, nullptr, nullptr, &value, &length) != 0)
        return "<no body>";
    DHANDLE text = 0;
    uint32_t textLength = 0;
    EXPECT_EQ(ConvertItemToText(value, length, "|", 0, &text, &textLength, 0), 0);
    std::string result(static_cast<const char*>(OSLockObject(text)), textLength);
    OSUnlockObject(text);
    OSMemFree(text);
    return result;
}

class MailRuntimeTest : public testing::Test {
  protected:
    void SetUp() override {
        install.WriteStandard();
        install.Write("data/mail/alee.nsf", MailFixture("alee.nsf"));
        ASSERT_EQ(install.Start(), 0);
        ASSERT_EQ(MailOpenMessageFile(kMailFile, &file), 0);
        ASSERT_EQ(MailCreateMessage(file, &message), 0);
    }
    void TearDown() override {
        NotesrtSetFaults(nullptr);
        EXPECT_EQ(MailCloseMessage(message), 0);
        EXPECT_EQ(MailCloseMessageFile(file), 0);
        const NotesrtCounts counts = Counts();
        EXPECT_EQ(counts.databases, 0u);
        EXPECT_EQ(counts.notes, 0u);
        EXPECT_EQ(counts.memoryAllocated, 0u);
        for (const auto& entry : fs::directory_iterator(install.root / "data" / "mail"))
            EXPECT_EQ(entry.path().filename(), "alee.nsf");
    }
    Json Stored(const std::string& relative) const { return Json::parse(install.Read(relative)); }

    TempInstall install;
    DHANDLE file = 0;       // the mail file
    NOTEHANDLE message = 0; // a message created in it
};

struct BodyRow {
    std::vector<std::string> appends; // the texts given to MailAppendBodyItemLine in turn
    std::string paragraphs;           // the Body's paragraphs joined by "|"
};

class BodyLineTest : public MailRuntimeTest, public testing::WithParamInterface<BodyRow> {};

TEST_P(BodyLineTest, EachNulEndsALineAndTheBodyIsCopied) {
    DHANDLE body = 0;
    uint32_t length = 7;
    ASSERT_EQ(MailCreateBodyItem(&body, &length), 0);
    EXPECT_EQ(length, 0u);
    for (const std::string& text : GetParam().appends)
        ASSERT_EQ(
            MailAppendBodyItemLine(body, &length, text.data(), static_cast<uint16_t>(text.size())),
            0);
    ASSERT_EQ(MailAddBodyItemExt(message, body, length, nullptr), 0);
    ASSERT_EQ(MailAddBodyItemExt(message, body, length, nullptr), 0);
    EXPECT_EQ(BodyText(message), GetParam().paragraphs);
    uint32_t size = 0;
    EXPECT_EQ(OSMemGetSize(body, &size), 0);
    EXPECT_EQ(size, length);
    EXPECT_EQ(OSMemFree(body), 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, BodyLineTest,
                         testing::Values(BodyRow{{"Hello"}, "Hello"},
                                         BodyRow{{std::string("Hello\0world", 11)}, "Hello|world"},
                                         BodyRow{{std::string("a\0", 2), "b"}, "a||b"},
                                         BodyRow{{"a", std::string("b\0\0c", 4)}, "a|b||c"}));

struct OwnershipRow {
    const char* name; // what the row shows
    bool recipients;  // MailAddRecipientsItem, else the SendTo header by handle
    uint16_t shrink;  // bytes taken off the list's size
    uint16_t code;    // the header field (by handle)
    const char* plan; // the fault plan
    STATUS status;    // the call's answer
};

class ListOwnershipTest : public MailRuntimeTest,
                          public testing::WithParamInterface<OwnershipRow> {};

TEST_P(ListOwnershipTest, TheListIsTakenWhateverTheOutcome) {
    const OwnershipRow& row = GetParam();
    uint16_t size = 0;
    const DHANDLE list = List({"bo@acme.example", "cy@acme.example"}, &size);
    ASSERT_EQ(NotesrtSetFaults(row.plan), 0);
    const uint16_t given = static_cast<uint16_t>(size - row.shrink);
    EXPECT_EQ(row.recipients ? MailAddRecipientsItem(message, list, given)
                             : MailAddHeaderItemByHandle(message, row.code, list, given, 0),
              row.status);
    EXPECT_EQ(NotesrtMemLockCount(list), -1);
    EXPECT_EQ(ItemText(message, row.recipients ? "Recipients" : "SendTo"),
              row.status == 0 ? "bo@acme.example;cy@acme.example" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ListOwnershipTest,
    testing::Values(OwnershipRow{"Recipients", true, 0, 0, "", 0},
                    OwnershipRow{"RecipientsCutShort", true, 3, 0, "", notesrt::kErrListInvalid},
                    OwnershipRow{"ListAsADate", false, 0, MAIL_POSTEDDATE_ITEM_NUM, "",
                                 notesrt::kErrInvalidArgument},
                    OwnershipRow{"SendToPlanned", false, 0, MAIL_SENDTO_ITEM_NUM,
                                 "MailAddHeaderItemByHandle@1=0x1234", kPlanned}),
    [](const testing::TestParamInfo<OwnershipRow>& row) { return row.param.name; });

struct RefusalRow {
    const char* name;                                               // what the row shows
    std::function<NOTEHANDLE(const TempInstall&, NOTEHANDLE)> make; // the note to store
    STATUS status;                                                  // NSFNoteUpdate's answer
};

class UpdateRefusalTest : public MailRuntimeTest, public testing::WithParamInterface<RefusalRow> {};

TEST_P(UpdateRefusalTest, LeavesTheFileAsItWas) {
    const NOTEHANDLE note = GetParam().make(install, message);
    const std::string before = install.Read("data/mail/alee.nsf");
    EXPECT_EQ(NSFNoteUpdate(note, 4), GetParam().status);
    EXPECT_EQ(install.Read("data/mail/alee.nsf"), before);
    if (note != message) {
        EXPECT_EQ(NSFNoteClose(note), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateRefusalTest,
    testing::Values(RefusalRow{"UnknownNoteId",
                               [](const TempInstall&, NOTEHANDLE m) {
                                   const NOTEID id = 40;
                                   NSFNoteSetInfo(m, _NOTE_ID, &id);
                                   return m;
                               },
                               notesrt::kErrNoteNotFound},
                    RefusalRow{"ClassNotStored",
                               [](const TempInstall&, NOTEHANDLE m) {
                                   const uint16_t noteClass = 0x0004;
                                   NSFNoteSetInfo(m, _NOTE_CLASS, &noteClass);
                                   return m;
                               },
                               notesrt::kErrInvalidArgument},
                    RefusalRow{"UnidOfAnotherNote",
                               [](const TempInstall&, NOTEHANDLE m) {
                                   DBHANDLE db = 0;
                                   NSFNoteGetInfo(m, _NOTE_DB, &db);
                                   NOTEHANDLE first = 0, view = 0;
                                   EXPECT_EQ(NSFNoteOpenExt(db, 4, 0, &first), 0);
                                   EXPECT_EQ(NSFNoteOpenExt(db, 8, 0, &view), 0);
                                   ORIGINATORID oid;
                                   NSFNoteGetInfo(view, _NOTE_OID, &oid);
                                   NSFNoteSetInfo(first, _NOTE_OID, &oid);
                                   EXPECT_EQ(NSFNoteClose(view), 0);
                                   return first;
                               },
                               notesrt::kErrInvalidArgument},
                    RefusalRow{"DamagedOnDisk",
                               [](const TempInstall& install, NOTEHANDLE m) {
                                   install.Write("data/mail/alee.nsf", "{\"notes\": [");
                                   return m;
                               },
                               notesrt::kErrDatabaseDamaged}),
    [](const testing::TestParamInfo<RefusalRow>& row) { return row.param.name; });

TEST_F(MailRuntimeTest, KeepsWhatWasWrittenMeanwhileAndEveryHandleSeesTheResult) {
    DBHANDLE other = 0;
    ASSERT_EQ(NSFDbOpen(kMailFile, &other), 0);
    Json edited = Stored("data/mail/alee.nsf");
    edited["notes"].push_back(Json::parse(R"({"noteId": 100, "items": [["Form", "Memo"]]})"));
    install.Write("data/mail/alee.nsf", edited.dump());
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "One", 3), 0);
    ASSERT_EQ(NSFNoteUpdate(message, 0), 0);
    NOTEID stored = 0;
    NSFNoteGetInfo(message, _NOTE_ID, &stored);
    EXPECT_EQ(stored, 24u);
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "Two", 3), 0);
    ASSERT_EQ(NSFNoteUpdate(message, 0), 0);
    EXPECT_EQ(Stored("data/mail/alee.nsf")["notes"].size(), 6u);
    for (const NOTEID id : {NOTEID{100}, NOTEID{24}}) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NSFNoteOpenExt(other, id, 0, &note), 0);
        EXPECT_EQ(ItemText(note, "Subject"), id == 24 ? "Two" : "");
        EXPECT_EQ(NSFNoteClose(note), 0);
    }
    EXPECT_EQ(NSFDbClose(other), 0);
}

} // namespace
