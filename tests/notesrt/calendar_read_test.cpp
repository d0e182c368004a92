// The calendar range read: whole answers against expected texts in UTC and New York (a week
// with the change from daylight saving time, a repeating meeting crossing it, folded LMBCS
// lines), answers in pieces and their continuation, the size limit, calendar notes by UID.
#include "mail_calendar.h"

#include <algorithm>
#include <vector>

namespace {

// One answer of the range read.
struct Answer {
    STATUS status = 0;   // what the call returned
    std::string text;    // the VCALENDAR
    uint16_t signal = 0; // its signal flags
};

// The lines of text (split at CR LF, the last one empty).
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// The value of every line of text that starts with prefix, one per line.
std::string Values(const std::string& text, const std::string& prefix) {
    std::string values;
    for (const std::string& line : Lines(text)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            values += line.substr(prefix.size()) + "\n";
    }
    return values;
}

std::string Utf8(const std::string& lmbcs) {
    std::string out(lmbcs.size() * 3 + 1, '\0');
    out.resize(OSTranslate(OS_TRANSLATE_LMBCS_TO_UTF8, lmbcs.data(),
                           static_cast<uint16_t>(lmbcs.size()), out.data(),
                           static_cast<uint16_t>(out.size())));
    return out;
}

class CalendarReadTest : public MailCalendarTest {
  public:
    // One range read with the request of the calendar search.
    Answer Read(const char* first, const char* last, uint32_t skip = 0, uint32_t max = 0xFFFFFFFF) {
        Answer answer;
        DHANDLE text = 0;
        uint16_t length = 0;
        answer.status =
            CalReadRange(db, Local(first), Local(last), skip, max, 0xFFFFFFFF, 0xFFFFFFFF, nullptr,
                         &text, &length, nullptr, nullptr, &answer.signal, 0, nullptr);
        if (answer.status == 0)
            answer.text = TakeText(text, length);
        EXPECT_TRUE(answer.status == 0 || text == 0);
        return answer;
    }

    // Every answer of the range until one without the signal (at most 100).
    std::vector<Answer> ReadAll(const char* first, const char* last) {
        std::vector<Answer> answers;
        do
            answers.push_back(Read(first, last));
        while ((answers.back().signal & SIGNAL_MORE_TO_DO) != 0 && answers.size() < 100);
        return answers;
    }
};

// A range read once, against data/calendar/<name>.<zone>.ics.
struct RangeCase {
    const char* name;  // the expected file's name
    const char* first; // the range
    const char* last;
};

class RangeTextTest : public CalendarReadTest, public testing::WithParamInterface<RangeCase> {};

TEST_P(RangeTextTest, GivesTheExpectedCalendar) {
    Start();
    const Answer answer = Read(GetParam().first, GetParam().last);
    ASSERT_EQ(answer.status, 0);
    EXPECT_EQ(answer.signal, 0);
    EXPECT_EQ(answer.text,
              CalendarFixture(std::string(GetParam().name) + "." + ZoneName() + ".ics"));
    std::string unfolded;
    std::string decodedLines;
    for (const std::string& line : Lines(answer.text)) {
        EXPECT_LE(line.size(), 75u) << line;
        unfolded += line[0] == ' ' ? line.substr(1) : "\n" + line;
        decodedLines += line[0] == ' ' ? Utf8(line.substr(1)) : "\n" + Utf8(line);
    }
    EXPECT_EQ(decodedLines, Utf8(unfolded));
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, RangeTextTest,
    testing::Values(RangeCase{"dst_week", "10/26/2026 00:00:00", "11/09/2026 23:59:00"},
                    RangeCase{"december", "12/06/2026 00:00:00", "12/09/2026 23:59:00"}),
    [](const testing::TestParamInfo<RangeCase>& row) { return std::string(row.param.name); });

TEST_F(CalendarReadTest, PiecesContinueWhereTheLastStoppedAndStartOverAfterTheEnd) {
    Start("NotesrtCalendarPiece=3\n");
    const std::vector<Answer> answers = ReadAll("12/06/2026 00:00:00", "12/09/2026 23:59:00");
    ASSERT_EQ(answers.size(), 3u);
    std::string uids;
    for (size_t i = 0; i < answers.size(); ++i) {
        EXPECT_EQ(answers[i].status, 0);
        EXPECT_EQ(answers[i].signal, i + 1 < answers.size() ? SIGNAL_MORE_TO_DO : 0);
        EXPECT_EQ(answers[i].text.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
        EXPECT_EQ(Values(answers[i].text, "BEGIN:VEVENT").size(), i < 2 ? 3u : 1u);
        uids += Values(answers[i].text, "X-LOTUS-UNID:");
    }
    const Answer whole = Read("12/06/2026 00:00:00", "12/09/2026 23:59:00");
    EXPECT_EQ(whole.text, answers[0].text);
    EXPECT_EQ(whole.signal, SIGNAL_MORE_TO_DO);
    EXPECT_EQ(Values(whole.text, "X-LOTUS-UNID:"), uids.substr(0, 3 * 33));
}

class ContinuationTest;

// What happens between the first answer of a range and the next identical request.
struct ResetCase {
    const char* name;                        // the case
    void (*between)(ContinuationTest& test); // the step in between
    bool continues;                          // the next request continues the first
};

class ContinuationTest : public CalendarReadTest, public testing::WithParamInterface<ResetCase> {
  public:
    using CalendarReadTest::Read;
    void Reopen() {
        ASSERT_EQ(NSFDbClose(db), 0);
        ASSERT_EQ(NSFDbOpen("mail.nsf", &db), 0);
    }
};

TEST_P(ContinuationTest, ContinuesOnlyAnIdenticalRequestOnTheSameHandle) {
    Start("NotesrtCalendarPiece=2\n");
    const Answer first = Read("12/06/2026 00:00:00", "12/09/2026 23:59:00");
    ASSERT_EQ(first.signal, SIGNAL_MORE_TO_DO);
    GetParam().between(*this);
    const Answer next = Read("12/06/2026 00:00:00", "12/09/2026 23:59:00");
    EXPECT_EQ(next.text == first.text, !GetParam().continues);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ContinuationTest,
    testing::Values(
        ResetCase{"Nothing", [](ContinuationTest&) {}, true},
        ResetCase{"FailedCall",
                  [](ContinuationTest& test) {
                      NotesrtSetFaults("CalReadRange@1=0x1234");
                      EXPECT_EQ(test.Read("12/06/2026 00:00:00", "12/09/2026 23:59:00").status,
                                0x1234);
                  },
                  true},
        ResetCase{
            "OtherRange",
            [](ContinuationTest& test) { test.Read("12/07/2026 00:00:00", "12/09/2026 23:59:00"); },
            false},
        ResetCase{"OtherSkip",
                  [](ContinuationTest& test) {
                      test.Read("12/06/2026 00:00:00", "12/09/2026 23:59:00", 1);
                  },
                  false},
        ResetCase{"Reopened", [](ContinuationTest& test) { test.Reopen(); }, false}),
    [](const testing::TestParamInfo<ResetCase>& row) { return std::string(row.param.name); });

TEST_F(CalendarReadTest, AnswersHoldWholeEventsWithinTheSizeLimit) {
    std::string notes;
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        char number[8];
        char start[32];
        std::snprintf(number, sizeof number, "%03d", i);
        std::snprintf(start, sizeof start, "2026-12-%02dT%02d:%02d:00", 1 + i / 60, 8 + i / 6 % 10,
                      i % 6 * 10);
        notes += R"({"items": [["Form", "Appointment"], ["Subject", ")" + std::string(number) +
                 std::string(1200, static_cast<char>('a' + i % 26)) +
                 R"("], ["StartDateTime", {"time": ")" + start + "\"}]]},";
        expected += std::string(number) + " ";
    }
    Start("", R"({"replicaId": "C1257E2B0036A1F2", "notes": [)" + notes + R"({"class": "view"}]})");
    const std::vector<Answer> answers = ReadAll("12/01/2026 00:00:00", "12/31/2026 23:59:00");
    std::string listed;
    for (const Answer& answer : answers) {
        EXPECT_EQ(answer.status, 0);
        EXPECT_LE(answer.text.size(), 65535u);
        EXPECT_TRUE(&answer == &answers.back() || answer.text.size() > 60000u);
        EXPECT_EQ(answer.text.substr(answer.text.size() - 27), "END:VEVENT\r\nEND:VCALENDAR\r\n");
        for (const std::string& line : Lines(answer.text)) {
            if (line.rfind("SUMMARY:", 0) == 0)
                listed += line.substr(8, 3) + " ";
        }
    }
    EXPECT_EQ(listed, expected);
}

TEST_F(CalendarReadTest, SkipsAndLimitsAndFindsNothingOutsideTheAppointments) {
    Start();
    const Answer some = Read("12/06/2026 00:00:00", "12/09/2026 23:59:00", 2, 3);
    EXPECT_EQ(Values(some.text, "SUMMARY:"),
              "Midnight release\nDesign review\\; phase 1\\, draft\nLunch\n");
    EXPECT_EQ(Read("12/22/2026 00:00:00", "12/31/2026 23:59:00").status, ERR_NOT_FOUND);
    EXPECT_EQ(Read("12/06/2026 00:00:00", "12/09/2026 23:59:00", 7).status, ERR_NOT_FOUND);
}

// A calendar note looked up by UID and recurrence ID.
struct UidCase {
    const char* uid;        // the UID
    const char* recurrence; // the recurrence ID in UTC; null for none
    const char* newYork;    // the recurrence ID in New York, when it differs
    STATUS status;          // what the call returns
    NOTEID noteId;          // the note it opens
};

class CalendarNoteTest : public CalendarReadTest, public testing::WithParamInterface<UidCase> {};

TEST_P(CalendarNoteTest, OpensTheAppointmentWithThatUidAndInstance) {
    Start();
    const UidCase& row = GetParam();
    NOTEHANDLE note = 0;
    EXPECT_EQ(CalOpenNoteHandle(db, row.uid, newYork && row.newYork ? row.newYork : row.recurrence,
                                &note, 0, nullptr),
              row.status);
    NOTEID noteId = 0;
    NSFNoteGetInfo(note, _NOTE_ID, &noteId);
    EXPECT_EQ(noteId, row.noteId);
    if (note != 0) {
        EXPECT_EQ(NSFNoteClose(note), 0);
    }
}

constexpr char kSeries[] = "F00DFEEDF00DFEEDF00DFEEDF00DFEED";
constexpr char kReview[] = "8A3F0C6D4E1B22F1C1257E2B0036A1F2";

INSTANTIATE_TEST_SUITE_P(
    Uids, CalendarNoteTest,
    testing::Values(UidCase{kReview, nullptr, nullptr, 0, 100},
                    UidCase{kSeries, "", nullptr, 0, 104},
                    UidCase{kSeries, "20261102T090000Z", "20261102T140000Z", 0, 104},
                    UidCase{kSeries, "20261026T090000Z", "20261026T130000Z", 0, 104},
                    UidCase{kSeries, "20261102T100000Z", nullptr, ERR_NOT_FOUND, 0},
                    UidCase{kReview, "20261207T090000Z", "20261207T140000Z", ERR_NOT_FOUND, 0},
                    UidCase{"C1257E2B0036A1F20000000000000008", nullptr, nullptr, 0, 132},
                    UidCase{"5B7E1A2C3D4F5061C1257E2B00400128", nullptr, nullptr, ERR_NOT_FOUND, 0},
                    UidCase{"f00dfeedf00dfeedf00dfeedf00dfeed", nullptr, nullptr, ERR_NOT_FOUND, 0},
                    UidCase{kSeries, "2026-11-02", nullptr, 0x0114, 0}));

} // namespace
