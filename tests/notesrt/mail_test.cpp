// Mail through the runtime: composing a message, delivering it into a server's mail.box and
// storing it back into the mail file, the ownership of lists and bodies, the refusals of
// NSFNoteUpdate, and planned failures of every mail call.
#include "notesrt_testing.h"
#include "status.h"
#include "temp_install.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

constexpr STATUS kPlanned = 0x1234;
const char kMailFile[] = "mail/alee.nsf";
const char kMailBox[] = "CN=Mail1/O=Acme!!mail.box";

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

std::string UnidHex(const ORIGINATORID& oid) {
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", oid.File.Innards[1], oid.File.Innards[0],
                  oid.Note.Innards[1], oid.Note.Innards[0]);
    return text;
}

class MailRuntimeTest : public testing::Test {
  protected:
    void SetUp() override {
        install.WriteStandard("MailServer=CN=Mail1/O=Acme\nMailFile=mail/alee.nsf\n");
        install.Write("data/mail/alee.nsf", MailFixture("alee.nsf"));
        install.Write("data/servers/Mail1/mail.box", MailFixture("mail.box"));
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
        std::vector<std::string> files;
        for (const char* folder : {"data/mail", "data/servers/Mail1"})
            for (const auto& entry : fs::directory_iterator(install.root / folder))
                files.push_back(entry.path().filename().u8string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"alee.nsf", "mail.box"}));
    }
    Json Stored(const std::string& relative) const { return Json::parse(install.Read(relative)); }

    TempInstall install;
    DHANDLE file = 0;       // the mail file
    NOTEHANDLE message = 0; // a message created in it
};

TEST_F(MailRuntimeTest, DeliversIntoTheMailBoxAndStoresBackUnderItsOwnIdentity) {
    uint16_t size = 0;
    DHANDLE sendTo = List({"bo@acme.example", "CN=Cy Diaz/O=Acme"}, &size);
    ASSERT_EQ(MailAddHeaderItemByHandle(message, MAIL_SENDTO_ITEM_NUM, sendTo, size, 0), 0);
    DHANDLE recipients = List({"bo@acme.example", "CN=Cy Diaz/O=Acme"}, &size);
    ASSERT_EQ(MailAddRecipientsItem(message, recipients, size), 0);
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_FORM_ITEM_NUM, "Memo", 4), 0);
    TIMEDATE composed = {{360000, 0x00258EC6}};
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_COMPOSEDDATE_ITEM_NUM,
                                reinterpret_cast<const char*>(&composed), sizeof composed),
              0);
    DHANDLE body = 0;
    uint32_t bodyLength = 0;
    ASSERT_EQ(MailCreateBodyItem(&body, &bodyLength), 0);
    ASSERT_EQ(MailAppendBodyItemLine(body, &bodyLength, "Line one\0Line two", 17), 0);
    ASSERT_EQ(MailAddBodyItemExt(message, body, bodyLength, nullptr), 0);
    EXPECT_EQ(OSMemFree(body), 0);

    ORIGINATORID own, fresh;
    DBHANDLE box = 0;
    NSFNoteGetInfo(message, _NOTE_OID, &own);
    ASSERT_EQ(NSFDbOpen(kMailBox, &box), 0);
    ASSERT_EQ(NSFDbGenerateOID(box, &fresh), 0);
    EXPECT_NE(UnidHex(fresh), UnidHex(own));
    EXPECT_EQ(UnidHex(fresh).substr(0, 16), "852580AA00501234");
    NSFNoteSetInfo(message, _NOTE_DB, &box);
    NSFNoteSetInfo(message, _NOTE_ID, nullptr);
    NSFNoteSetInfo(message, _NOTE_OID, &fresh);
    ASSERT_EQ(NSFNoteUpdate(message, 4), 0);
    NOTEID stored = 0;
    NSFNoteGetInfo(message, _NOTE_ID, &stored);
    EXPECT_EQ(stored, 4u);
    const NOTEID none = 0;
    NSFNoteSetInfo(message, _NOTE_DB, &file);
    NSFNoteSetInfo(message, _NOTE_ID, &none);
    NSFNoteSetInfo(message, _NOTE_OID, &own);
    ASSERT_EQ(NSFNoteUpdate(message, 4), 0);
    NSFNoteGetInfo(message, _NOTE_ID, &stored);
    EXPECT_EQ(stored, 12u);
    EXPECT_EQ(NSFDbClose(box), 0);

    const Json delivered = Stored("data/servers/Mail1/mail.box")["notes"];
    const Json kept = Stored("data/mail/alee.nsf")["notes"];
    ASSERT_EQ(delivered.size(), 1u);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(delivered[0]["unid"], UnidHex(fresh));
    EXPECT_EQ(kept[2]["unid"], UnidHex(own));
    EXPECT_EQ(kept[2]["items"], delivered[0]["items"]);
    Json items = delivered[0]["items"];
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[3][0], "ComposedDate");
    items.erase(3);
    EXPECT_EQ(items, Json::parse(R"([
        ["SendTo", ["bo@acme.example", "CN=Cy Diaz/O=Acme"]],
        ["Recipients", ["bo@acme.example", "CN=Cy Diaz/O=Acme"]],
        ["Form", "Memo"],
        ["Body", {"richtext": "Line one\nLine two"}]])"));

    DBHANDLE reopened = 0;
    NOTEHANDLE note = 0;
    ASSERT_EQ(NSFDbOpen(kMailBox, &reopened), 0);
    ASSERT_EQ(NSFNoteOpenExt(reopened, 4, 0, &note), 0);
    EXPECT_EQ(BodyText(note), "Line one|Line two");
    EXPECT_EQ(ItemText(note, "SendTo"), "bo@acme.example;CN=Cy Diaz/O=Acme");
    EXPECT_EQ(ItemText(note, "ComposedDate"), ItemText(message, "ComposedDate"));
    EXPECT_EQ(NSFNoteClose(note), 0);
    EXPECT_EQ(NSFDbClose(reopened), 0);
}

struct HeaderRow {
    uint16_t code;        // the header field
    std::string value;    // the bytes given
    STATUS status;        // MailAddHeaderItem's answer
    const char* item;     // the item it sets
    std::string readBack; // that item as text afterwards
};

class HeaderItemTest : public MailRuntimeTest, public testing::WithParamInterface<HeaderRow> {};

TEST_P(HeaderItemTest, SetsOneItemOfTheFieldsName) {
    const HeaderRow& row = GetParam();
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "first", 5), 0);
    EXPECT_EQ(MailAddHeaderItem(message, row.code, row.value.data(),
                                static_cast<uint16_t>(row.value.size())),
              row.status);
    EXPECT_EQ(ItemText(message, row.item), row.readBack);
    BLOCKID first;
    ASSERT_EQ(NSFItemInfo(message, "Subject", 7, &first, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(NSFItemInfoNext(message, first, "Subject", 7, nullptr, nullptr, nullptr, nullptr),
              ERR_ITEM_NOT_FOUND);
}

const std::string kNineAmUtc("\x40\x70\x31\x00\xC6\x8E\x25\x00", 8); // 2026-12-07 09:00 GMT

INSTANTIATE_TEST_SUITE_P(
    Fields, HeaderItemTest,
    testing::Values(HeaderRow{MAIL_FORM_ITEM_NUM, "Memo", 0, "Form", "Memo"},
                    HeaderRow{MAIL_SUBJECT_ITEM_NUM, "Plan \x14\x04\x10", 0, "Subject",
                              "Plan \x14\x04\x10"},
                    HeaderRow{MAIL_SUBJECT_ITEM_NUM, "", 0, "Subject", ""},
                    HeaderRow{MAIL_POSTEDDATE_ITEM_NUM, kNineAmUtc, 0, "PostedDate",
                              std::getenv("TZ") != nullptr&& std::string(std::getenv("TZ")) ==
                                      "America/New_York"
                                  ? "12/07/2026 04:00:00"
                                  : "12/07/2026 09:00:00"},
                    HeaderRow{MAIL_POSTEDDATE_ITEM_NUM, "09:00", notesrt::kErrInvalidArgument,
                              "PostedDate", ""},
                    HeaderRow{1, "CN=Cy Diaz/O=Acme", notesrt::kErrInvalidArgument, "CopyTo", ""}));

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
                                         BodyRow{{""}, ""},
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
                    OwnershipRow{"SendTo", false, 0, MAIL_SENDTO_ITEM_NUM, "", 0},
                    OwnershipRow{"RecipientsCutShort", true, 3, 0, "", notesrt::kErrListInvalid},
                    OwnershipRow{"ListAsADate", false, 0, MAIL_POSTEDDATE_ITEM_NUM, "",
                                 notesrt::kErrInvalidArgument},
                    OwnershipRow{"RecipientsPlanned", true, 0, 0, "MailAddRecipientsItem@1=0x1234",
                                 kPlanned},
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
                    RefusalRow{"DatabaseClosed",
                               [](const TempInstall&, NOTEHANDLE m) {
                                   DBHANDLE other = 0;
                                   EXPECT_EQ(NSFDbOpen(kMailFile, &other), 0);
                                   NSFNoteSetInfo(m, _NOTE_DB, &other);
                                   EXPECT_EQ(NSFDbClose(other), 0);
                                   return m;
                               },
                               notesrt::kErrInvalidHandle},
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
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "Two", 3), 0);
    ASSERT_EQ(NSFNoteUpdate(message, 0), 0);
    EXPECT_EQ(Stored("data/mail/alee.nsf")["notes"].size(), 4u);
    for (const NOTEID id : {NOTEID{100}, NOTEID{16}}) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NSFNoteOpenExt(other, id, 0, &note), 0);
        EXPECT_EQ(ItemText(note, "Subject"), id == 16 ? "Two" : "");
        EXPECT_EQ(NSFNoteClose(note), 0);
    }
    EXPECT_EQ(NSFDbClose(other), 0);
}

struct FaultRow {
    const char* call;                               // the call planned to fail
    std::function<STATUS(DHANDLE, NOTEHANDLE)> run; // makes it once and gives back what it took
};

class MailFaultTest : public MailRuntimeTest, public testing::WithParamInterface<FaultRow> {};

TEST_P(MailFaultTest, ThePlannedCallFailsAndChangesNothing) {
    const std::string plan = std::string(GetParam().call) + "@1=0x1234";
    ASSERT_EQ(NotesrtSetFaults(plan.c_str()), 0);
    const NotesrtCounts before = Counts();
    const std::string mailFile = install.Read("data/mail/alee.nsf");
    EXPECT_EQ(GetParam().run(file, message), kPlanned);
    const NotesrtCounts after = Counts();
    EXPECT_EQ(after.databases, before.databases);
    EXPECT_EQ(after.notes, before.notes);
    EXPECT_EQ(after.memoryAllocated, before.memoryAllocated);
    EXPECT_EQ(install.Read("data/mail/alee.nsf"), mailFile);
    EXPECT_EQ(ItemText(message, "Subject"), "");
}

// Makes an empty body, runs call on it and frees it.
STATUS WithBody(const std::function<STATUS(DHANDLE, uint32_t&)>& call) {
    DHANDLE body = 0;
    uint32_t length = 0;
    EXPECT_EQ(MailCreateBodyItem(&body, &length), 0);
    const STATUS status = call(body, length);
    EXPECT_EQ(OSMemFree(body), 0);
    return status;
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MailFaultTest,
    testing::Values(
        FaultRow{"MailOpenMessageFile",
                 [](DHANDLE, NOTEHANDLE) {
                     DHANDLE opened = 0;
                     return MailOpenMessageFile(kMailFile, &opened);
                 }},
        FaultRow{"MailCloseMessageFile",
                 [](DHANDLE f, NOTEHANDLE) { return MailCloseMessageFile(f); }},
        FaultRow{"MailCreateMessage",
                 [](DHANDLE f, NOTEHANDLE) {
                     NOTEHANDLE created = 0;
                     return MailCreateMessage(f, &created);
                 }},
        FaultRow{"MailCloseMessage", [](DHANDLE, NOTEHANDLE m) { return MailCloseMessage(m); }},
        FaultRow{"MailAddHeaderItem",
                 [](DHANDLE, NOTEHANDLE m) {
                     return MailAddHeaderItem(m, MAIL_SUBJECT_ITEM_NUM, "Plan", 4);
                 }},
        FaultRow{"MailCreateBodyItem",
                 [](DHANDLE, NOTEHANDLE) {
                     DHANDLE body = 0;
                     uint32_t length = 0;
                     return MailCreateBodyItem(&body, &length);
                 }},
        FaultRow{"MailAppendBodyItemLine",
                 [](DHANDLE, NOTEHANDLE) {
                     return WithBody([](DHANDLE body, uint32_t& length) {
                         const uint32_t before = length;
                         const STATUS status = MailAppendBodyItemLine(body, &length, "x", 1);
                         EXPECT_EQ(length, before);
                         return status;
                     });
                 }},
        FaultRow{"MailAddBodyItemExt",
                 [](DHANDLE, NOTEHANDLE m) {
                     return WithBody([m](DHANDLE body, uint32_t& length) {
                         const STATUS status = MailAddBodyItemExt(m, body, length, nullptr);
                         EXPECT_EQ(BodyText(m), "<no body>");
                         return status;
                     });
                 }},
        FaultRow{"NSFDbGenerateOID",
                 [](DHANDLE f, NOTEHANDLE) {
                     ORIGINATORID oid = {};
                     return NSFDbGenerateOID(f, &oid);
                 }},
        FaultRow{"NSFNoteUpdate", [](DHANDLE, NOTEHANDLE m) { return NSFNoteUpdate(m, 4); }}),
    [](const testing::TestParamInfo<FaultRow>& row) { return std::string(row.param.call); });

} // namespace
