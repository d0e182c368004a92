#include "notes_data_fixture.h"
#include "data_file.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace korvo_test {
namespace {

// mail.nsf from the fixture folder with the generated notes appended.
std::string MailDatabase() {
    auto db = nlohmann::json::parse(FileBytes(NOTESDATA_FIXTURES "/mail.nsf"));
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

} // namespace

void NotesDataTest::SetUp() {
    if (GetParam().outNewYork != nullptr && !InKnownZone())
        GTEST_SKIP() << "TZ must be UTC or America/New_York";
    NotesrtReset();
    m_installation.WriteDataFile("mail.nsf", MailDatabase());
    ASSERT_EQ(StartRuntime(m_installation), 0);
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
    EXPECT_EQ(OpenHandles(), 0u);
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
    CheckCase(*this, GetParam());
}

FILETIME DayAt1530(unsigned month, unsigned day) {
    static const unsigned before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const uint64_t days = 155228 + before[month - 1] + day - 1; // 1601-01-01 to 2026-01-01
    const uint64_t ticks = (days * 86400 + 15 * 3600 + 1800) * 10000000;
    return FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

} // namespace korvo_test
