#include "notes_data_fixture.h"

#include "notesrt_testing.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

namespace korvo_test {
namespace {

// mail.nsf from the fixture folder, with the generated notes appended.
std::string MailDatabase() {
    std::ifstream file(std::string(NOTESDATA_FIXTURES) + "/mail.nsf", std::ios::binary);
    nlohmann::json db =
        nlohmann::json::parse(std::string(std::istreambuf_iterator<char>(file), {}));
    std::string body;
    for (int line = 0; line < 700; ++line)
        body += (line > 0 ? "\n" : "") + std::string(99, static_cast<char>('a' + line % 26));
    // A note of one item per pair.
    const auto note = [](NOTEID noteId, std::vector<std::pair<const char*, nlohmann::json>> items) {
        nlohmann::json list = nlohmann::json::array();
        for (auto& [name, value] : items)
            list.push_back(nlohmann::json::array({name, value}));
        return nlohmann::json{{"noteId", noteId}, {"items", list}};
    };
    db["notes"].push_back(note(kLongTextsNote, {{"Fit", std::string(255, 'x')},
                                                {"Full", std::string(256, 'y')},
                                                {"Double", std::string(512, 'z')},
                                                {"Body", {{"richtext", body}}}}));
    const nlohmann::json part = {
        {"contentType", "text/plain"}, {"charset", "US-ASCII"}, {"text", std::string(70000, 'm')}};
    db["notes"].push_back(note(kLongMimeNote, {{"Body", {{"mime", part}}}}));
    nlohmann::json times = nlohmann::json::array();
    for (int day = 1; day <= 28; ++day)
        for (int hour = 0; hour < 24; ++hour)
            for (int minute = 0; minute < 50; minute += 10) {
                char text[32];
                std::snprintf(text, sizeof text, "2026-01-%02dT%02d:%02d:00", day, hour, minute);
                times.push_back(text);
            }
    db["notes"].push_back(note(kLongTimesNote, {{"StartDateTime", {{"times", times}}}}));
    return db.dump();
}

} // namespace

void NotesDataTest::SetUp() {
    NotesrtReset();
    m_installation.WriteDataFile("mail.nsf", MailDatabase());
    std::string dir = PathText(m_installation.Root());
    std::string ini = "=" + PathText(m_installation.IniPath());
    char* argv[] = {dir.data(), ini.data()};
    ASSERT_EQ(NotesInitExtended(2, argv), 0);
    const STATUS opened = NSFDbOpen("mail.nsf", &m_db);
    char text[512] = {};
    OSLoadString(nullptr, opened, text, sizeof text);
    ASSERT_EQ(opened, 0) << text;
    ClearTraceLines();
}

void NotesDataTest::TearDown() {
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

FILETIME DayAt1530(int year, unsigned month, unsigned day) {
    const int y = year - (month <= 2);
    const int era = y / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long days = era * 146097LL + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    const unsigned long long ticks = ((days + 134774) * 86400ULL + 15 * 3600 + 1800) * 10000000ULL;
    return FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

std::vector<std::string> ReportedLabels(const std::vector<TraceLine>& trace) {
    std::vector<std::string> labels;
    for (const TraceLine& line : trace)
        if (line.function == "NotesAPIErrHandler")
            labels.push_back(line.message.substr(0, line.message.find(" -- error[")));
    return labels;
}

std::vector<std::string> Messages(const std::vector<TraceLine>& trace) {
    std::vector<std::string> messages;
    for (const TraceLine& line : trace)
        messages.push_back(line.message);
    return messages;
}

} // namespace korvo_test
