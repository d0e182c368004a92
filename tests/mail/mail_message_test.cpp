// Sending a memo: composed in the mail file, delivered into the server's mail.box and kept in
// the mail file, read back from both files; names split into the recipient lists; bodies
// into lines; every runtime call of composing and delivery failed by plan; SendMail's checks.
#include "notesctrl.h"
#include "notesmailmessage.h"
#include "notes_installation.h"
#include "notesrt_testing.h"
#include "stringutil.h"
#include "trace_recorder.h"

#include "platform/oleauto.h"
#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

using Json = nlohmann::json;
using korvo_test::NotesInstallation;
using korvo_test::PathText;
using korvo_test::TraceLine;

const char kServer[] = "CN=Mail1/O=Acme";
const char kBox[] = "servers/Mail1/mail.box";
const char kMailFile[] = "servers/Mail1/mail/alee.nsf";
constexpr size_t kFixtureNotes = 4; // notes of the mail file before any memo

std::string Fixture(const std::string& name) {
    std::ifstream stream(std::filesystem::path(MAIL_FIXTURES) / name, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

// The trace lines with this level and message.
size_t Count(const std::vector<TraceLine>& trace, int level, const std::string& message) {
    return static_cast<size_t>(std::count_if(trace.begin(), trace.end(), [&](const TraceLine& l) {
        return l.level == level && l.message == message;
    }));
}

class MailTest : public testing::Test {
  protected:
    // Installs the mail server with its address book, mail file and mail.box (and a local
    // mail file and mail.box for SendMail after Init type 0, which reads no mail server) and
    // starts the runtime.
    void Install(bool withMailFile = true, bool withMailBox = true) {
        NotesrtReset();
        std::vector<std::string> ini{"MailType=0", std::string("MailServer=") + kServer};
        if (withMailFile)
            ini.push_back("MailFile=mail/alee.nsf");
        installation = std::make_unique<NotesInstallation>(ini);
        for (const char* folder : {"", "servers/Mail1/"}) {
            installation->WriteDataFile(std::string(folder) + "names.nsf", Fixture("names.nsf"));
            installation->WriteDataFile(std::string(folder) + "mail/alee.nsf", Fixture("alee.nsf"));
            if (withMailBox)
                installation->WriteDataFile(std::string(folder) + "mail.box", Fixture("mail.box"));
        }
        std::string dir = PathText(installation->Root());
        std::string ini_ = "=" + PathText(installation->IniPath());
        char* argv[] = {dir.data(), ini_.data()};
        ASSERT_EQ(NotesInitExtended(2, argv), 0);
        korvo_test::ClearTraceLines();
    }
    void TearDown() override {
        NotesrtSetFaults(nullptr);
        NotesrtReset();
    }
    // Sends a memo as SendMail does; CreateNotesMessage's answer.
    static int Send(const char* server, const CString& subject, const CString& recipients,
                    const CString& body) {
        CNotesMailMessage message;
        message.OpenMailFile(server);
        const int created = message.CreateNotesMessage(subject, recipients, body);
        if (created == 1)
            message.SendNotesMessage();
        return created;
    }
    // The notes of a database file below the data directory.
    Json Notes(const std::string& relative) const {
        std::ifstream stream(installation->DataDirectory() / relative, std::ios::binary);
        return stream ? Json::parse(stream)["notes"] : Json::array();
    }

    std::unique_ptr<NotesInstallation> installation; // the installation of the test
};

TEST_F(MailTest, TheMemoIsDeliveredAndKeptUnderItsOwnIdentity) {
    Install();
    EXPECT_EQ(Send(kServer, KORVO_W("Status"), KORVO_W("bo.chen@acme.example, CN=Cy Diaz/O=Acme"),
                   KORVO_W("Line one\r\nLine two")),
              1);
    const Json delivered = Notes(kBox);
    const Json kept = Notes(kMailFile);
    ASSERT_EQ(delivered.size(), 1u);
    ASSERT_EQ(kept.size(), kFixtureNotes + 1);
    Json items = delivered[0]["items"];
    EXPECT_EQ(kept.back()["items"], items);
    EXPECT_NE(kept.back()["unid"], delivered[0]["unid"]);
    EXPECT_EQ(kept.back()["unid"].get<std::string>().substr(0, 16), "C1257E2B0036A1F2");
    EXPECT_EQ(delivered[0]["unid"].get<std::string>().substr(0, 16), "852580AA00501234");
    ASSERT_EQ(items.size(), 10u);
    for (const size_t date : {9, 7}) {
        EXPECT_TRUE(items[date][1].contains("time")) << items[date];
        items.erase(date);
    }
    EXPECT_EQ(items, Json::parse(R"([
        ["SendTo", ["bo.chen@acme.example", "CN=CyDiaz/O=Acme"]],
        ["Recipients", ["bo.chen@acme.example", "CN=CyDiaz/O=Acme"]],
        ["Form", "Memo"], ["From", "CN=Ann Lee/O=Acme"], ["Subject", "Status"],
        ["DeliveryPriority", "N"], ["DeliveryReport", "B"],
        ["Body", {"richtext": "Line one\nLine two"}]])"));
    const auto trace = korvo_test::TakeTraceLines();
    EXPECT_EQ(Count(trace, 2, "Success"), 1u);
    EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](auto& l) { return l.level == 0; }), 0);
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated, 0u);
}

struct NamesRow {
    std::string recipients;           // the recipients text given, in UTF-8
    std::vector<std::string> entries; // the entries of both lists in the memo
    size_t tooLong;                   // names refused as too long
};

class RecipientNamesTest : public MailTest, public testing::WithParamInterface<NamesRow> {};

TEST_P(RecipientNamesTest, BothListsGetTheNamesBetweenCommasWithoutBlanks) {
    Install();
    CString recipients;
    StringUtil::Utf8ToWide(GetParam().recipients.c_str(), recipients);
    ASSERT_EQ(Send(kServer, KORVO_W("Status"), recipients, KORVO_W("Hi")), 1);
    const Json memo = Notes(kBox).at(0);
    EXPECT_EQ(memo["items"][0], Json::array({"SendTo", GetParam().entries}));
    EXPECT_EQ(memo["items"][1], Json::array({"Recipients", GetParam().entries}));
    EXPECT_EQ(Count(korvo_test::TakeTraceLines(), 0,
                    "The Recipient's name is too long, buffer is not enough, skip the Recipient!!"),
              GetParam().tooLong);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RecipientNamesTest,
    testing::Values(
        NamesRow{" bo chen@acme.example ,CN=Cy Diaz/O=Acme",
                 {"bochen@acme.example", "CN=CyDiaz/O=Acme"},
                 0},
        NamesRow{",bo@acme.example,,cy@acme.example,", {"bo@acme.example", "cy@acme.example"}, 0},
        NamesRow{std::string(255, 'x') + ",cy", {std::string(255, 'x'), "cy"}, 0},
        NamesRow{std::string(256, 'x') + ",cy", {"cy"}, 1}, NamesRow{"   ", {}, 0},
        // In LMBCS ج (14 06 2C) and Ь (14 04 2C) hold a "," byte.
        NamesRow{
            "\u062C\u0645\u0627\u0644@acme.example,\u0418\u041B\u042C\u0418\u041D@acme.example",
            {"\u062C\u0645\u0627\u0644@acme.example",
             "\u0418\u041B\u042C\u0418\u041D@acme.example"},
            0}));

struct BodyRow {
    const char* name; // what the row shows
    CString body;     // the body given
    Json stored;      // the Body item's value in the memo; null for no Body item
};

class MemoBodyTest : public MailTest, public testing::WithParamInterface<BodyRow> {};

TEST_P(MemoBodyTest, LinesEndAtLineFeedsAndCarriageReturnsAreDropped) {
    Install();
    ASSERT_EQ(Send(kServer, KORVO_W("Status"), KORVO_W("bo@acme.example"), GetParam().body), 1);
    const Json memo = Notes(kBox).at(0);
    Json body;
    for (const Json& item : memo["items"])
        if (item[0] == "Body")
            body = item[1];
    EXPECT_EQ(body, GetParam().stored);
}

// 700 lines of 100 characters: more than one call of the runtime takes.
CString LongBody(const char* separator) {
    std::string text;
    for (int line = 0; line < 700; ++line)
        text +=
            std::string(100, static_cast<char>('a' + line % 26)) + (line < 699 ? separator : "");
    return CString(text.begin(), text.end());
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, MemoBodyTest,
    testing::Values(BodyRow{"CrLfAndLoneLf", KORVO_W("Hello\r\nworld\nagain\r\n"),
                            Json{{"richtext", "Hello\nworld\nagain\n"}}},
                    BodyRow{"OnlyCr", KORVO_W("\r"), Json{{"richtext", ""}}},
                    BodyRow{"Empty", CString(), Json()},
                    BodyRow{"Accents", KORVO_W("Gr\u00FC\u00DFe \u03A9"),
                            Json{{"richtext", "Grüße Ω"}}},
                    BodyRow{"LongerThanOneCall", LongBody("\r\n"),
                            Json{{"richtext",
                                  [] {
                                      const CString wide = LongBody("\n");
                                      return std::string(wide.begin(), wide.end());
                                  }()}}}),
    [](const testing::TestParamInfo<BodyRow>& row) { return std::string(row.param.name); });

struct SendRow {
    const char* name = "";             // what the row shows
    const char* plan = "";             // the fault plan
    const char* server = kServer;      // OpenMailFile's server
    bool mailFile = true;              // notes.ini names the mail file
    bool mailBox = true;               // the server has a mail.box
    CString subject = KORVO_W("Plan"); // the memo's subject
    int created = 1;                   // CreateNotesMessage's answer
    size_t delivered = 1;              // memos in mail.box afterwards
    size_t kept = 1;                   // memos added to the mail file
    const char* missing = nullptr;     // an item the memos lack; null for none
    TraceLine line;                    // a line of the trace
};

class SendFaultTest : public MailTest, public testing::WithParamInterface<SendRow> {};

TEST_P(SendFaultTest, ComposingStopsOrGoesOnAndNoFileIsDamaged) {
    const SendRow& row = GetParam();
    Install(row.mailFile, row.mailBox);
    ASSERT_EQ(NotesrtSetFaults(row.plan), 0);
    EXPECT_EQ(
        Send(row.server, row.subject, KORVO_W("bo@acme.example, CN=Cy Diaz/O=Acme"), KORVO_W("Hi")),
        row.created);
    NotesrtSetFaults(nullptr);
    const auto trace = korvo_test::TakeTraceLines();
    EXPECT_NE(std::find(trace.begin(), trace.end(), row.line), trace.end()) << row.line;
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated, 0u);

    const Json delivered = Notes(kBox);
    const Json kept = Notes(kMailFile);
    EXPECT_EQ(delivered.size(), row.delivered);
    ASSERT_EQ(kept.size(), kFixtureNotes + row.kept);
    std::vector<Json> memos;
    if (!delivered.empty())
        memos.push_back(delivered[0]);
    if (row.kept != 0)
        memos.push_back(kept.back());
    for (const Json& memo : memos)
        for (const Json& item : memo["items"])
            EXPECT_NE(item[0], row.missing == nullptr ? "" : row.missing);
    for (const char* file : {kBox, kMailFile}) {
        if (!row.mailBox && file == kBox)
            continue;
        DBHANDLE db = 0;
        EXPECT_EQ(NSFDbOpen(file, &db), 0) << file;
        EXPECT_EQ(NSFDbClose(db), 0);
    }
}

const char* const kMail = "notesmailcalendar.cpp";

SendRow Row(const char* name, int created, size_t delivered, size_t kept, const char* missing,
            TraceLine line) {
    SendRow row;
    row.name = name;
    row.created = created;
    row.delivered = delivered;
    row.kept = kept;
    row.missing = missing;
    row.line = std::move(line);
    return row;
}

// A row of a planned failure whose error handler line (label) is the line looked for.
SendRow Planned(const char* name, const char* plan, const char* label, int created,
                size_t delivered, size_t kept, const char* missing = nullptr) {
    SendRow row =
        Row(name, created, delivered, kept, missing,
            {0, "notesclib.cpp", "NotesAPIErrHandler", std::string(label) + " -- error[4660]:"});
    row.plan = plan;
    return row;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SendFaultTest,
    testing::Values(
        [] {
            SendRow row =
                Row("EmptySubject", 1, 1, 1, "Subject", {2, kMail, "SendMailMessage", "Success"});
            row.subject.clear();
            return row;
        }(),
        [] {
            SendRow row = Row("NoMailFileInIni", 0, 0, 0, nullptr,
                              {0, kMail, "CNotesMailMessage::OpenMailFile",
                               "Fail to read MailFile value in notes.ini."});
            row.mailFile = false;
            return row;
        }(),
        [] {
            SendRow row = Row(
                "UnreachableServer", 0, 0, 0, nullptr,
                {0, kMail, "CNotesMailMessage::CreateNotesMessage", "Fail to create Message!!"});
            row.server = "CN=Gone/O=Acme";
            return row;
        }(),
        [] {
            SendRow row = Row("NoMailBox", 1, 0, 0, nullptr,
                              {0, kMail, "CNotesMailMessage::SendNotesMessage",
                               "SendNoteMessage:Domino Server is unavailable!!!"});
            row.mailBox = false;
            return row;
        }(),
        Planned("PathConstruct", "OSPathNetConstruct@1=0x1234", "OSPathNetConstruct", 0, 0, 0),
        Planned("OpenMailFile", "MailOpenMessageFile@1=0x1234", "MailOpenMessageFile", 0, 0, 0),
        Planned("CreateMessage", "MailCreateMessage@1=0x1234", "MailCreateMessage", 0, 0, 0),
        Planned("CreateBody", "MailCreateBodyItem@1=0x1234", "MailCreateBodyItem", 0, 0, 0),
        Planned("RecipientsList", "ListAllocate@1=0x1234", "ListAllocate", 0, 0, 0),
        Planned("SendToList", "ListAllocate@2=0x1234", "ListAllocate", 0, 0, 0),
        Planned("ListEntry", "ListAddEntry@1=0x1234", "ListAddEntry", 1, 1, 1),
        Planned("SendToItem", "MailAddHeaderItemByHandle@1=0x1234", "MailAddHeaderItemByHandle", 1,
                1, 1, "SendTo"),
        Planned("RecipientsItem", "MailAddRecipientsItem@1=0x1234", "MailAddRecipientsItem", 1, 1,
                1, "Recipients"),
        Planned("OwnerName", "SECKFMGetUserName@1=0x1234", "SECKFMGetUserName", 1, 1, 1, "From"),
        Planned("FormItem", "MailAddHeaderItem@1=0x1234", "MailAddHeaderItem", 1, 1, 1, "Form"),
        Planned("BodyLine", "MailAppendBodyItemLine@1=0x1234", "MailAppendBodyItemLine", 1, 1, 1,
                "Body"),
        Planned("BodyItem", "MailAddBodyItemExt@1=0x1234", "MailAddBodyItemExt", 1, 1, 1, "Body"),
        Planned("NewOid", "NSFDbGenerateOID@1=0x1234", "NSFDbGenerateOID", 1, 0, 0),
        Planned("Delivery", "NSFNoteUpdate@1=0x1234", "NSFNoteUpdate", 1, 0, 1),
        Planned("StoreBack", "NSFNoteUpdate@2=0x1234", "NSFNoteUpdate", 1, 1, 0),
        Planned("CloseMailBox", "NSFDbClose@1=0x1234", "NSFDbClose", 1, 1, 1),
        Planned("CloseMessage", "MailCloseMessage@1=0x1234", "MailCloseMessage", 1, 1, 1),
        Planned("FreeBody", "OSMemFree@1=0x1234", "OSMemFree", 1, 1, 1),
        Planned("CloseMailFile", "MailCloseMessageFile@1=0x1234", "MailCloseMessageFile", 1, 1, 1)),
    [](const testing::TestParamInfo<SendRow>& row) { return std::string(row.param.name); });

struct OperationRow {
    const char* name;     // what the row shows
    const WCHAR* subject; // SendMail's arguments; null passes a null BSTR
    const WCHAR* recipients;
    const WCHAR* body;
    int32_t result;      // SendMail's answer
    size_t delivered;    // memos in the local mail.box afterwards
    std::string message; // a line of the trace under "CNotesCtrl::SendMail"
};

class SendMailTest : public MailTest, public testing::WithParamInterface<OperationRow> {};

TEST_P(SendMailTest, ChecksItsArgumentsAndAnswersOneOnceTheMemoIsHandedOn) {
    Install();
    NotesrtReset();
    platform::testing::ScopedRegistry registry;
    registry.SetValue("SOFTWARE\\IBM\\NOTES\\INSTALLER", "PROGDIR", PathText(installation->Root()));
    registry.SetValue("Software\\Vendra Systems, Inc.\\MeetingIntegration", "NotesIniPath",
                      PathText(installation->IniPath()));
    const OperationRow& row = GetParam();
    BSTR subject = row.subject ? platform::SysAllocString(row.subject) : nullptr;
    BSTR recipients = row.recipients ? platform::SysAllocString(row.recipients) : nullptr;
    BSTR body = row.body ? platform::SysAllocString(row.body) : nullptr;
    {
        CNotesCtrl control;
        EXPECT_EQ(control.SendMail(subject, recipients, body, 0), 0);
        ASSERT_EQ(control.Init(0), 0);
        korvo_test::ClearTraceLines();
        EXPECT_EQ(control.SendMail(subject, recipients, body, 0), row.result);
        const auto trace = korvo_test::TakeTraceLines();
        EXPECT_NE(std::find_if(trace.begin(), trace.end(),
                               [&](const TraceLine& l) {
                                   return l.function == "CNotesCtrl::SendMail" &&
                                          l.message == row.message;
                               }),
                  trace.end())
            << row.message;
        EXPECT_EQ(Notes("mail.box").size(), row.delivered);
    }
    for (BSTR text : {subject, recipients, body})
        platform::SysFreeString(text);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SendMailTest,
    testing::Values(OperationRow{"NullSubject", nullptr, KORVO_W("bo@acme.example"), KORVO_W("Hi"),
                                 0, 0, "invalid parameter !!"},
                    OperationRow{"NoRecipients", KORVO_W("Plan"), KORVO_W(""), KORVO_W("Hi"), 0, 0,
                                 "No recipients!!"},
                    OperationRow{"OnlyBlanks", KORVO_W("Plan"), KORVO_W("   "), KORVO_W("Hi"), 1, 1,
                                 "Subject[Plan],strRecips[   ],strbody[Hi]"},
                    OperationRow{"NullBody", KORVO_W("Plan"), KORVO_W("bo@acme.example"), nullptr,
                                 1, 1, "Subject[Plan],strRecips[bo@acme.example],strbody[]"}),
    [](const testing::TestParamInfo<OperationRow>& row) { return std::string(row.param.name); });

} // namespace
