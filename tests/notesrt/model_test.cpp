// Reading database files into the model: derived identifiers and indexes, and the value kinds
// the runtime's calls do not show as such (explicit zones, LMBCS bytes, raw values, time
// lists). The plain kinds, MIME and file objects are read back through the calls in
// items_test.cpp; local times in the process zone through the calendar range read's New York
// expectations (calendar_read_test.cpp). Files nested too deep are refused where the parser
// meets the level too many.
#include "dbload.h"
#include "identifiers.h"
#include "temp_install.h"

namespace {

using namespace notesrt;

Database LoadFixture(const std::string& fixture) {
    Database db;
    std::string problem;
    EXPECT_TRUE(ParseDatabase(FileBytes(FixturePath(fixture)), db, problem)) << problem;
    return db;
}

TEST(Model, ReadsNotesItemsAndIdentifiers) {
    const Database db = LoadFixture("mail.nsf");
    ASSERT_EQ(db.notes.size(), 3u);
    EXPECT_EQ(db.title, "Ann Lee");
    const Note& first = db.notes[0];
    EXPECT_EQ(first.noteId, 2310u);
    EXPECT_EQ(UnidToHex(UnidOfNote(first)), "8A3F0C6D4E1B22F1C1257E2B0036A1F2");
    EXPECT_EQ(first.oid.Sequence, 1u);
    EXPECT_EQ(db.notes[1].noteId, 8u);
    EXPECT_EQ(UnidToHex(UnidOfNote(db.notes[1])), "C1257E2B0036A1F20000000000000001");
    EXPECT_EQ(db.notes[2].noteId, 12u);
    EXPECT_EQ(db.notes[2].noteClass, NOTE_CLASS_VIEW);
    EXPECT_EQ(db.noteIndexById.at(8), 1u);
    EXPECT_EQ(db.noteIndexByUnid.at(KeyOfUnid(UnidOfNote(db.notes[2]))), 2u);

    std::vector<std::string> names;
    for (const Item& item : first.items)
        names.push_back(item.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Form", "Subject", "StartDateTime", "EndDateTime",
                                               "RequiredAttendees", "Body", "Body", "Sequence",
                                               "Ratio", "Bytes", "Nul", "Stamp"}));
    EXPECT_EQ(UtcSeconds(first.items[2].times.at(0)), 1796634000);
    EXPECT_EQ(UtcSeconds(first.items[3].times.at(0)), 1796634000);
    EXPECT_EQ(first.items[3].times[0].Innards[1] >> 24, 0x41u);
    EXPECT_EQ(first.items[9].text, std::string("A\x14\x20\xAC"
                                               "B"));
    EXPECT_EQ(first.items[11].type, 1024);
    EXPECT_EQ(first.items[11].raw, "\x01\x02\x03\x04\x05\x06\x07\x08");

    const Note& second = db.notes[1];
    EXPECT_EQ(second.items[2].kind, ValueKind::TimeList);
    ASSERT_EQ(second.items[2].times.size(), 2u);
    EXPECT_EQ(UtcSeconds(second.items[2].times[1]) - UtcSeconds(second.items[2].times[0]), 86400);
}

// times copies of open, then inner, then times copies of close.
std::string Nest(const std::string& open, size_t times, const std::string& inner,
                 const std::string& close) {
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += open;
    text += inner;
    for (size_t i = 0; i < times; ++i)
        text += close;
    return text;
}

// A MIME body of multiparts levels deep whose innermost entity is inner.
std::string MimeFile(size_t levels, const std::string& inner) {
    return R"({"notes": [{"items": [["Body", {"mime": )" +
           Nest(R"({"parts": [)", levels, inner, "]}") + "}]]}]}";
}

// 64 arrays and objects open at once load; one more is refused, naming where it stands.
TEST(Model, RefusesFilesNestedDeeperThan64Levels) {
    const struct {
        const char* name;  // the case
        std::string file;  // the database file
        const char* fault; // the problem; empty when the file loads
    } rows[] = {
        {"MimeAtTheLimit", MimeFile(28, R"({"parts": []})"), ""},
        {"MimePastIt", MimeFile(28, R"({"parts": [{}]})"),
         "note 1, item 1: nested deeper than 64 arrays and objects at byte 360"},
        {"MemberAtTheLimit", R"({"x": )" + Nest("[", 63, "", "]") + "}", ""},
        {"MemberPastIt", R"({"x": )" + Nest("[", 64, "", "]") + "}",
         "database: nested deeper than 64 arrays and objects at byte 70"},
        {"NoteMemberPastIt", R"({"notes": [{"y": )" + Nest("{\"z\": ", 62, "1", "}") + "}]}",
         "note 1: nested deeper than 64 arrays and objects at byte 384"},
        {"TextListPastIt", R"({"notes": [{"items": [["A", )" + Nest("[", 60, "", "]") + "]]}]}",
         "note 1, item 1: nested deeper than 64 arrays and objects at byte 88"},
    };
    for (const auto& row : rows) {
        Model model;
        std::string problem;
        EXPECT_EQ(LoadModel(row.file, model, problem), *row.fault == '\0') << row.name;
        EXPECT_EQ(problem, row.fault) << row.name;
    }
}

} // namespace
