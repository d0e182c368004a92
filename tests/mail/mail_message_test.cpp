// Sending a memo: composed in the mail file, delivered into the server's mail.box and kept in
// the mail file, read back from both files; names split into the recipient lists; bodies
// into lines; every runtime call of composing and delivery failed by plan; SendMail's checks.
#include "data_file.h"
#include "notesctrl.h"
#include "data_rows.h"
#include "notesmailmessage.h"
#include "runtime_case.h"
#include "stringutil.h"

#include "platform/oleauto.h"
#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>

namespace {

using Json = nlohmann::json;
using korvo_test::DataRows;
using korvo_test::NotesInstallation;
using korvo_test::PathText;
using korvo_test::TraceLine;

const char kServer[] = "CN=Mail1/O=Acme";
const char kBox[] = "servers/Mail1/mail.box";
const char kMailFile[] = "servers/Mail1/mail/alee.nsf";
constexpr size_t kFixtureNotes = 4; // notes of the mail file before any memo

std::string Fixture(const std::string& name) {
    return korvo_test::FileBytes(std::filesystem::path(MAIL_FIXTURES) / name);
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
        ASSERT_EQ(korvo_test::StartRuntime(*installation), 0);
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

// A memo sent with these recipients and this body: both recipient lists and the body. Blanks
// and the CR of CR LF are dropped in mail_host_sendmail too; empty names and the 255-character
// limit are in the corpus of fuzz_replay_recipient_split.
struct MemoRow {
    const char* name;                         // what the row shows
    std::string recipients;                   // the recipients text given, in UTF-8
    std::vector<std::string> entries;         // the entries of both lists in the memo
    size_t tooLong = 0;                       // names refused as too long
    std::string body = "Hi";                  // the body given, in UTF-8
    std::optional<std::string> stored = "Hi"; // the Body item's text; none: no Body item
};

class MemoTest : public MailTest, public testing::WithParamInterface<MemoRow> {};

TEST_P(MemoTest, ListsHoldTheNamesWithoutBlanksAndLinesEndAtLineFeeds) {
    const MemoRow& row = GetParam();
    Install();
    CString recipients;
    CString body;
    StringUtil::Utf8ToWide(row.recipients.c_str(), recipients);
    StringUtil::Utf8ToWide(row.body.c_str(), body);
    ASSERT_EQ(Send(kServer, KORVO_W("Status"), recipients, body), 1);
    const Json memo = Notes(kBox).at(0);
    EXPECT_EQ(memo["items"][0], Json::array({"SendTo", row.entries}));
    EXPECT_EQ(memo["items"][1], Json::array({"Recipients", row.entries}));
    Json stored;
    for (const Json& item : memo["items"])
        if (item[0] == "Body")
            stored = item[1];
    EXPECT_EQ(stored, (row.stored ? Json{{"richtext", *row.stored}} : Json()));
    // The names cut are the only failures written: every runtime call succeeded.
    std::vector<std::string> failures;
    for (const TraceLine& line : korvo_test::TakeTraceLines())
        if (line.level == 0)
            failures.push_back(line.message);
    EXPECT_EQ(failures,
              std::vector<std::string>(
                  row.tooLong,
                  "The Recipient's name is too long, buffer is not enough, skip the Recipient!!"));
}

// 700 lines of 100 characters: more than one call of the runtime takes.
std::string LongBody(const char* separator) {
    std::string text;
    for (int line = 0; line < 700; ++line)
        text +=
            std::string(100, static_cast<char>('a' + line % 26)) + (line < 699 ? separator : "");
    return text;
}

const char kBo[] = "bo@acme.example";
const std::string kX255(255, 'x');

INSTANTIATE_TEST_SUITE_P(
    Memos, MemoTest,
    testing::Values(
        MemoRow{"Name256", kX255 + "x,cy", {"cy"}, 1}, MemoRow{"OnlyBlanks", "   ", {}},
        // In LMBCS ج (14 06 2C) and Ь (14 04 2C) hold a "," byte.
        MemoRow{"CommaBytesInCharacters",
                "\u062C\u0645\u0627\u0644@acme.example,\u0418\u041B\u042C\u0418\u041D@acme.example",
                {"\u062C\u0645\u0627\u0644@acme.example",
                 "\u0418\u041B\u042C\u0418\u041D@acme.example"}},
        MemoRow{
            "CrLfAndLoneLf", kBo, {kBo}, 0, "Hello\r\nworld\nagain\r\n", "Hello\nworld\nagain\n"},
        MemoRow{"OnlyCr", kBo, {kBo}, 0, "\r", ""},
        MemoRow{"EmptyBody", kBo, {kBo}, 0, "", std::nullopt},
        MemoRow{"Accents", kBo, {kBo}, 0, "Gr\u00FC\u00DFe \u03A9", "Gr\u00FC\u00DFe \u03A9"},
        MemoRow{"LongerThanOneCall", kBo, {kBo}, 0, LongBody("\r\n"), LongBody("\n")}),
    korvo_test::RowName<MemoRow>);

// A row of data/send_faults.tsv: name, fault plan, CreateNotesMessage's answer, memos in
// mail.box afterwards, memos added to the mail file, an item the memos lack, a line of the
// trace (level, source, function, message), and what differs from a memo sent by the user to
// two people. Failures that only need reporting and closing (the mail file not opened, which
// then ends as UnreachableServer; the closes and the free after delivery) are swept by
// fault_sweep_tests (send_mail).
using Fields = std::vector<std::string>;

class SendFaultTest : public MailTest, public testing::WithParamInterface<Fields> {};

TEST_P(SendFaultTest, ComposingStopsOrGoesOnAndNoFileIsDamaged) {
    const Fields& row = GetParam();
    const std::string& change = row[10];
    Install(change != "NoMailFile", change != "NoMailBox");
    ASSERT_EQ(NotesrtSetFaults(row[1].c_str()), 0);
    EXPECT_EQ(Send(change == "OtherServer" ? "CN=Gone/O=Acme" : kServer,
                   change == "NoSubject" ? CString() : KORVO_W("Plan"),
                   KORVO_W("bo@acme.example, CN=Cy Diaz/O=Acme"), KORVO_W("Hi")),
              std::stoi(row[2]));
    NotesrtSetFaults(nullptr);
    const auto trace = korvo_test::TakeTraceLines();
    const TraceLine line{std::stoi(row[6]), row[7], row[8], row[9]};
    EXPECT_NE(std::find(trace.begin(), trace.end(), line), trace.end()) << line;
    EXPECT_EQ(korvo_test::OpenHandles(), 0u);

    const Json delivered = Notes(kBox);
    const Json kept = Notes(kMailFile);
    EXPECT_EQ(delivered.size(), std::stoul(row[3]));
    ASSERT_EQ(kept.size(), kFixtureNotes + std::stoul(row[4]));
    std::vector<Json> memos;
    if (!delivered.empty())
        memos.push_back(delivered[0]);
    if (row[4] != "0")
        memos.push_back(kept.back());
    for (const Json& memo : memos)
        for (const Json& item : memo["items"])
            EXPECT_NE(item[0], row[5]);
    // The memo kept is the one delivered, under an identity of the mail file's own.
    if (memos.size() == 2) {
        EXPECT_EQ(memos[1]["items"], memos[0]["items"]);
        EXPECT_EQ(memos[0]["unid"].get<std::string>().substr(0, 16), "852580AA00501234");
        EXPECT_EQ(memos[1]["unid"].get<std::string>().substr(0, 16), "C1257E2B0036A1F2");
        EXPECT_NE(memos[1]["unid"], memos[0]["unid"]);
    }
    for (const char* file : {kBox, kMailFile}) {
        if (change == "NoMailBox" && file == kBox)
            continue;
        DBHANDLE db = 0;
        EXPECT_EQ(NSFDbOpen(file, &db), 0) << file;
        EXPECT_EQ(NSFDbClose(db), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SendFaultTest,
                         testing::ValuesIn(DataRows(std::filesystem::path(MAIL_DATA) /
                                                    "send_faults.tsv")),
                         korvo_test::FirstField);

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
    korvo_test::RowName<OperationRow>);

} // namespace
