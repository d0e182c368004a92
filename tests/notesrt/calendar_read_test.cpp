// The calendar range read on tests/data/calendar/mail.nsf, in UTC and New York: whole
// answers against expected calendars (a week with the end of daylight saving time and a
// repeating meeting crossing it; escaped and folded LMBCS lines), answers in pieces and when
// their continuation resets, and the size limit of an answer.
#include "temp_install.h"

#include <vector>

namespace {

std::string Fixture(const std::string& name) {
    return FileBytes(std::filesystem::path(CALENDAR_FIXTURES) / name);
}

// The lines of text split at CR LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The rest of every line of text that starts with prefix, one per line.
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

// One answer of the range read.
struct Answer {
    STATUS status = 0;   // what the call returned
    std::string text;    // the VCALENDAR
    uint16_t signal = 0; // its signal flags
};

class CalendarReadTest : public OpenDatabaseTest {
  public:
    void SetUp() override {
        zone = ZoneUnderTest();
        if (zone.empty())
            GTEST_SKIP() << "needs TZ=UTC or TZ=America/New_York";
    }

    // Installs database (mail.nsf when empty) as the mail file, with extraIni, and opens it.
    void Start(const std::string& extraIni = "", const std::string& database = "") {
        OpenWith("mail.nsf", database.empty() ? Fixture("mail.nsf") : database,
                 extraIni + "MailFile=mail.nsf\n");
    }

    // One range read with the arguments of the calendar search (but skip).
    Answer Read(const char* first, const char* last, uint32_t skip = 0) {
        Answer answer;
        DHANDLE text = 0;
        uint16_t length = 0;
        answer.status = CalReadRange(db, LocalTime(first), LocalTime(last), skip, 0xFFFFFFFF,
                                     0xFFFFFFFF, 0xFFFFFFFF, nullptr, &text, &length, nullptr,
                                     nullptr, &answer.signal, 0, nullptr);
        EXPECT_TRUE(answer.status == 0 || text == 0);
        if (text != 0) {
            answer.text = BlockBytes(text, length);
            EXPECT_EQ(OSMemFree(text), 0);
        }
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

    void Reopen() {
        ASSERT_EQ(NSFDbClose(db), 0);
        ASSERT_EQ(NSFDbOpen("mail.nsf", &db), 0);
    }

    std::string zone; // TZ
};

constexpr char kFirst[] = "12/06/2026 00:00:00"; // the range of the pieces
constexpr char kLast[] = "12/09/2026 23:59:00";

// A range read once, against data/calendar/<name>.<utc|new_york>.ics.
struct RangeCase {
    const char* name;  // the expected file's name
    const char* first; // the range
    const char* last;
};

class RangeTextTest : public CalendarReadTest, public testing::WithParamInterface<RangeCase> {};

TEST_P(RangeTextTest, GivesTheExpectedCalendarInLinesOf75Octets) {
    Start();
    const Answer answer = Read(GetParam().first, GetParam().last);
    ASSERT_EQ(answer.status, 0);
    EXPECT_EQ(answer.signal, 0);
    EXPECT_EQ(answer.text, Fixture(std::string(GetParam().name) +
                                   (zone == "UTC" ? ".utc.ics" : ".new_york.ics")));
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
                    RangeCase{"december", kFirst, kLast}),
    [](const testing::TestParamInfo<RangeCase>& row) { return std::string(row.param.name); });

TEST_F(CalendarReadTest, PiecesContinueAndStartOverAfterTheLast) {
    Start("NotesrtCalendarPiece=3\n");
    const std::vector<Answer> answers = ReadAll(kFirst, kLast);
    ASSERT_EQ(answers.size(), 3u);
    std::string unids;
    for (size_t i = 0; i < answers.size(); ++i) {
        EXPECT_EQ(answers[i].signal, i < 2 ? SIGNAL_MORE_TO_DO : 0);
        EXPECT_EQ(Values(answers[i].text, "BEGIN:V"),
                  "CALENDAR\nTIMEZONE\n" + std::string(i < 2 ? "EVENT\nEVENT\n" : "") + "EVENT\n");
        unids += Values(answers[i].text, "X-LOTUS-UNID:");
    }
    EXPECT_EQ(unids, Values(Fixture("december.utc.ics"), "X-LOTUS-UNID:"));
    EXPECT_EQ(Read(kFirst, kLast).text, answers[0].text);
    EXPECT_EQ(Read(kFirst, kLast, 7).status, ERR_NOT_FOUND);
    EXPECT_EQ(Read("12/22/2026 00:00:00", "12/31/2026 23:59:00").status, ERR_NOT_FOUND);
}

// What happens between the first answer of a range and the next identical request.
struct ResetCase {
    const char* name;                        // the case
    void (*between)(CalendarReadTest& test); // the step in between
    bool continues;                          // the next request continues the first
};

class ContinuationTest : public CalendarReadTest, public testing::WithParamInterface<ResetCase> {};

TEST_P(ContinuationTest, ContinuesOnlyAnIdenticalRequestOnTheSameHandle) {
    Start("NotesrtCalendarPiece=2\n");
    const Answer first = Read(kFirst, kLast);
    GetParam().between(*this);
    EXPECT_EQ(Read(kFirst, kLast).text != first.text, GetParam().continues);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ContinuationTest,
    testing::Values(
        ResetCase{"Nothing", [](CalendarReadTest&) {}, true},
        ResetCase{"FailedCall",
                  [](CalendarReadTest& test) {
                      NotesrtSetFaults("CalReadRange@1=0x1234");
                      EXPECT_EQ(test.Read(kFirst, kLast).status, 0x1234);
                  },
                  true},
        ResetCase{"OtherRange",
                  [](CalendarReadTest& test) { test.Read("12/07/2026 00:00:00", kLast); }, false},
        ResetCase{"OtherSkip", [](CalendarReadTest& test) { test.Read(kFirst, kLast, 1); }, false},
        ResetCase{"Reopened", [](CalendarReadTest& test) { test.Reopen(); }, false}),
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
        expected += std::string(number) + "\n";
    }
    Start("", R"({"notes": [)" + notes + R"({"class": "view"}]})");
    const std::vector<Answer> answers = ReadAll("12/01/2026 00:00:00", "12/31/2026 23:59:00");
    std::string listed;
    for (const Answer& answer : answers) {
        EXPECT_LE(answer.text.size(), 65535u);
        EXPECT_TRUE(&answer == &answers.back() || answer.text.size() > 60000u);
        EXPECT_EQ(answer.text.substr(answer.text.size() - 27), "END:VEVENT\r\nEND:VCALENDAR\r\n");
        for (const std::string& line : Lines(answer.text)) {
            if (line.rfind("SUMMARY:", 0) == 0)
                listed += line.substr(8, 3) + "\n";
        }
    }
    EXPECT_EQ(listed, expected);
}

} // namespace
