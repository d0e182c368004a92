#include "notes_data_fixture.h"

#include "notesrt_testing.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace korvo_test {
namespace {

// mail.nsf from the fixture folder with the generated notes appended.
std::string MailDatabase() {
    std::ifstream file(std::string(NOTESDATA_FIXTURES) + "/mail.nsf", std::ios::binary);
    auto db = nlohmann::json::parse(std::string(std::istreambuf_iterator<char>(file), {}));
    const auto note = [&db](NOTEID noteId, const char* name, const nlohmann::json& value) {
        nlohmann::json items = nlohmann::json::array();
        items.push_back(nlohmann::json::array({name, value}));
        db["notes"].push_back({{"noteId", noteId}, {"items", items}});
    };
    std::string body;
    for (int line = 0; line < 700; ++line)
        body += (line > 0 ? "\n" : "") + std::string(99, static_cast<char>('a' + line % 26));
    note(kLongTextsNote, "Body", {{"richtext", body}});
    auto& items = db["notes"].back()["items"];
    items.push_back(nlohmann::json::array({"Fit", std::string(255, 'x')}));
    items.push_back(nlohmann::json::array({"Full", std::string(256, 'y')}));
    items.push_back(nlohmann::json::array({"Double", std::string(512, 'z')}));
    note(kLongMimeNote, "Body",
         {{"mime",
           {{"contentType", "text/plain"},
            {"charset", "US-ASCII"},
            {"text", std::string(70000, 'm')}}}});
    nlohmann::json times = nlohmann::json::array();
    for (int step = 0; step < 28 * 24 * 5; ++step) {
        char text[32];
        std::snprintf(text, sizeof text, "2026-01-%02dT%02d:%02d:00", 1 + step / 120, step / 5 % 24,
                      step % 5 * 10);
        times.push_back(text);
    }
    note(kLongTimesNote, "StartDateTime", {{"times", times}});
    note(kAttendeesNote, "RequiredAttendees", std::string(kCyrillicName) + ";CN=Bo Chen/O=Acme");
    return db.dump();
}

// The zone the suite runs in.
std::string Zone() {
    const char* zone = std::getenv("TZ");
    return zone != nullptr ? zone : "";
}

} // namespace

void NotesDataTest::SetUp() {
    if (GetParam().outNewYork != nullptr && Zone() != "UTC" && Zone() != "America/New_York")
        GTEST_SKIP() << "TZ must be UTC or America/New_York";
    NotesrtReset();
    m_installation.WriteDataFile("mail.nsf", MailDatabase());
    std::string dir = PathText(m_installation.Root());
    std::string ini = "=" + PathText(m_installation.IniPath());
    char* argv[] = {dir.data(), ini.data()};
    ASSERT_EQ(NotesInitExtended(2, argv), 0);
    ASSERT_EQ(NSFDbOpen("mail.nsf", &m_db), 0);
    ASSERT_TRUE(m_calendar.AllocateTextBuffer());
}

void NotesDataTest::TearDown() {
    if (m_db == NULLHANDLE)
        return;
    NotesrtSetFaults(nullptr);
    for (NOTEHANDLE note : m_notes)
        EXPECT_EQ(NSFNoteClose(note), 0);
    EXPECT_EQ(NSFDbClose(m_db), 0);
    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.databases + counts.notes + counts.collections + counts.memoryAllocated +
                  counts.memoryLocked + counts.mimeDirectories,
              0u);
    NotesrtReset();
}

NOTEHANDLE NotesDataTest::OpenNote(NOTEID noteId, uint32_t flags) {
    NOTEHANDLE note = NULLHANDLE;
    EXPECT_EQ(NSFNoteOpenExt(m_db, noteId, flags, &note), 0);
    if (note != NULLHANDLE)
        m_notes.push_back(note);
    return note;
}

TEST_P(NotesDataTest, GivesTheResultAndTheMessages) {
    const DataCase& row = GetParam();
    ClearTraceLines();
    ASSERT_EQ(NotesrtSetFaults(row.faults), 0);
    const std::string out = row.run(*this);
    NotesrtSetFaults(nullptr);
    const bool newYork = row.outNewYork != nullptr && Zone() == "America/New_York";
    EXPECT_EQ(out, newYork ? std::string(row.outNewYork) : row.out);
    Strings logged;
    for (const TraceLine& line : TakeTraceLines())
        logged.push_back(line.function == "NotesAPIErrHandler"
                             ? line.message.substr(0, line.message.find(" -- error["))
                             : line.message);
    EXPECT_EQ(logged, row.logged);
}

std::string CaseName(const ::testing::TestParamInfo<DataCase>& info) {
    return info.param.name;
}

FILETIME DayAt1530(unsigned month, unsigned day) {
    static const unsigned before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const uint64_t days = 155228 + before[month - 1] + day - 1; // 1601-01-01 to 2026-01-01
    const uint64_t ticks = (days * 86400 + 15 * 3600 + 1800) * 10000000;
    return FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

} // namespace korvo_test
