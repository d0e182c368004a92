// Writing notes back as JSON: every value reads back to the same value (a raw value where no
// readable form carries it exactly), and a file is replaced whole or not at all whichever step
// fails.
#include "dbload.h"
#include "filereplace.h"
#include "identifiers.h"
#include "itemvalue.h"
#include "notejson.h"
#include "notesplice.h"
#include "status.h"
#include "temp_install.h"
#include "timedate.h"

#include <fstream>

namespace {

using namespace notesrt;
using Json = nlohmann::ordered_json;

// The item "Field" of kind and type holding texts (the first as a text's value), number, or
// the time iso.
Item Value(ValueKind kind, uint16_t type, std::vector<std::string> texts, double number = 0,
           const char* iso = nullptr) {
    Item item;
    item.name = "Field";
    item.kind = kind;
    item.type = type;
    item.number = number;
    if (kind == ValueKind::Text)
        item.text = texts.at(0);
    else
        item.texts = std::move(texts);
    if (iso != nullptr) {
        item.times.resize(1);
        EXPECT_TRUE(ParseIsoTime(iso, item.times[0])) << iso;
    }
    return item;
}

Item Text(const std::string& lmbcs) {
    return Value(ValueKind::Text, TYPE_TEXT, {lmbcs});
}

Item Time(const char* iso) {
    return Value(ValueKind::Time, TYPE_TIME, {}, 0, iso);
}

struct JsonRow {
    const char* name;     // what the row shows
    Item item;            // the value written
    std::string expected; // its JSON value, "raw" for a raw value of its bytes, or empty
                          // where the form depends on the zone
};

class NoteJsonTest : public testing::TestWithParam<JsonRow> {};

TEST_P(NoteJsonTest, ReadsBackToTheSameValue) {
    Note note;
    note.noteId = 12;
    UNID unid;
    ASSERT_TRUE(UnidFromHex("C1257E2B0036A1F20000000000000002", unid));
    note.oid.File = unid.File;
    note.oid.Note = unid.Note;
    note.items.push_back(GetParam().item);
    Json object;
    std::string problem;
    ASSERT_TRUE(NoteToJson(note, object, problem));
    const Json& value = object["items"][0][1];
    if (GetParam().expected == "raw") {
        EXPECT_TRUE(value.contains("raw")) << value.dump();
    } else if (!GetParam().expected.empty()) {
        EXPECT_EQ(value.dump(), GetParam().expected);
    }

    Database db;
    ASSERT_TRUE(ParseDatabase(Json{{"notes", {object}}}.dump(), db, problem)) << problem;
    const Note& read = db.notes.at(0);
    EXPECT_EQ(read.noteId, 12u);
    EXPECT_EQ(UnidToHex(UnidOfNote(read)), "C1257E2B0036A1F20000000000000002");
    const Item& back = read.items.at(0);
    EXPECT_EQ(back.type, GetParam().item.type);
    EXPECT_EQ(ValueBytes(back), ValueBytes(GetParam().item));
    Json again;
    ASSERT_TRUE(NoteToJson(read, again, problem));
    EXPECT_EQ(again, object);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NoteJsonTest,
    testing::Values(
        JsonRow{"Text", Text("Plan \x14\x04\x10 \x84"), R"("Plan А ä")"},
        JsonRow{"TextIcuGroup", Text("\x10\x82\xA0"), R"({"lmbcs":"EIKg"})"},
        JsonRow{"TextList", Value(ValueKind::TextList, TYPE_TEXT_LIST, {"a", "", "CN=B/O=C"}),
                R"(["a","","CN=B/O=C"])"},
        JsonRow{"TextListIcuGroup",
                Value(ValueKind::TextList, TYPE_TEXT_LIST, {"a", "\x10\x82\xA0"}), "raw"},
        JsonRow{"Number", Value(ValueKind::Number, TYPE_NUMBER, {}, 2.5), "2.5"},
        JsonRow{"LocalTime", Time("2026-12-07T09:00:00.37"),
                R"({"time":"2026-12-07T09:00:00.37"})"},
        JsonRow{"RepeatedHourAfterDst", Time("2026-11-01T01:30:00-05:00"), ""},
        JsonRow{"BerlinTime", Time("2026-12-07T09:00:00+01:00"),
                R"({"time":"2026-12-07T09:00:00+01:00"})"},
        JsonRow{"RichText",
                Value(ValueKind::RichText, TYPE_COMPOSITE, {"Line one", "", "Line two"}),
                R"({"richtext":"Line one\n\nLine two"})"},
        JsonRow{"RichTextLineBreakInside", Value(ValueKind::RichText, TYPE_COMPOSITE, {"a\nb"}),
                "raw"}),
    [](const testing::TestParamInfo<JsonRow>& row) { return row.param.name; });

// A note put into files of every shape, in place of each note and after the last: the text
// loads with the note there, and the layout moved along is the one the loader finds.
TEST(NoteSplice, PutsANoteWhereTheLayoutSaysAndMovesTheLayoutAlong) {
    const char* const files[] = {
        "{}",
        R"({"title": "T"})",
        "{\r\n  \"title\": \"T\"\r\n}\r\n",
        R"({"notes": []})",
        R"({"notes": [ ], "after": {"a": [1]}})",
        R"({"notes":[{"items":[["N",1]]},{"class":"view","x":2.5},{"items":[]}],"z":0})",
        ("{\n  \"title\": \"T\",\n  \"notes\": [\n    { \"items\": [\n        [\"F\", 1] ] "
         "},\n    { \"items\": [] }\n  ]\n}\n"),
        R"({"notes": [{"items": [["Old", 1]]}], "notes": [{"items": []}, {}]})",
    };
    const std::string note = R"({ "items": [["Subject", "Put"]] })";
    const auto same = [](const TextSpan& a, const TextSpan& b) {
        return a.begin == b.begin && a.end == b.end;
    };
    for (const char* file : files) {
        Model before;
        std::string problem;
        ASSERT_TRUE(LoadModel(file, before, problem)) << file << problem;
        for (size_t position = 0; position <= before.Notes().size(); ++position) {
            FileLayout layout = before.layout;
            const std::string old = file;
            const SplicedText pieces = SpliceNote(old, layout, position, note);
            const std::string text =
                std::string(pieces.before) + pieces.inserted + std::string(pieces.after);
            Model after;
            ASSERT_TRUE(LoadModel(text, after, problem)) << text << problem;
            const FileLayout& read = after.layout;
            ASSERT_EQ(after.Notes().size(), std::max(before.Notes().size(), position + 1)) << text;
            EXPECT_EQ(text.substr(layout.notes[position].begin, note.size()), note) << text;
            size_t subject = 0;
            EXPECT_TRUE(after.FindItem(after.Notes()[position], "Subject", 0, subject)) << text;
            EXPECT_TRUE(read.notesGiven && layout.notesGiven) << text;
            EXPECT_TRUE(same(read.notesList, layout.notesList)) << text;
            EXPECT_EQ(read.rootEnd, layout.rootEnd) << text;
            EXPECT_EQ(read.size, layout.size) << text;
            EXPECT_EQ(read.hash, layout.hash) << text;
            ASSERT_EQ(read.notes.size(), layout.notes.size()) << text;
            for (size_t i = 0; i < read.notes.size(); ++i)
                EXPECT_TRUE(same(read.notes[i], layout.notes[i])) << text << " note " << i;
        }
    }
}

// Each step of a replacement refused in turn: before the rename the target keeps its old
// content, after it the new one, and no temporary file is left either way.
TEST(FileReplace, ARefusedStepLeavesOneWholeContentAndNoTemporaryFile) {
    const struct {
        const char* plan; // the step refused
        bool replaced;    // the target holds the new content
    } rows[] = {{"FileWrite@1=1", false},
                {"FileFlush@1=1", false},
                {"FileRename@1=1", false},
                {"FolderFlush@1=1", true},
                {"", true}};
    for (const auto& row : rows) {
        TempInstall install;
        install.Write("data/names.nsf", "old");
        NotesrtSetFaults(row.plan);
        bool replaced = !row.replaced;
        EXPECT_EQ(ReplaceFileContent(install.root / "data" / "names.nsf", {"{", "}"}, replaced),
                  *row.plan != '\0' ? kErrCannotWriteFile : 0)
            << row.plan;
        NotesrtSetFaults(nullptr);
        EXPECT_EQ(replaced, row.replaced) << row.plan;
        EXPECT_EQ(install.Read("data/names.nsf"), row.replaced ? "{}" : "old") << row.plan;
        size_t entries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(install.root / "data"))
            entries += entry.path().filename() == "names.nsf" ? 0 : 1;
        EXPECT_EQ(entries, 0u) << row.plan;
    }
}

TEST(FileReplace, ARenameTheSystemRefusesLeavesTheTarget) {
    TempInstall install;
    install.Write("data/mail.box/kept", "x");
    bool replaced = true;
    EXPECT_EQ(ReplaceFileContent(install.root / "data" / "mail.box", {"{}"}, replaced),
              kErrCannotWriteFile);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(install.Read("data/mail.box/kept"), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(install.root / "data"),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
