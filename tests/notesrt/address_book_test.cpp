// The address book tests/notesrt/data/names.nsf: keys of the $Users view found by name,
// entries read in pieces, the view computed again when the file changes, and NSFSearch
// visiting the notes of a class with runtime calls made from inside the routine.
#include "temp_install.h"

#include <cstring>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

// Note IDs of the address book's documents.
enum : NOTEID {
    kAnnLee = 10,     // Ann Lee: canonical and plain full names, short name, Internet address
    kAnnaBerg = 20,   // Anna Berg: canonical full name and Internet address only
    kBoChen = 30,     // Bo Chen: Form written "person"
    kJoseNunez = 40,  // José Núñez: accented names
    kOlga = 50,       // Ольга Петрова: Cyrillic first and last names
    kTeam = 60,       // a group, not a person
    kUsersView = 100, // the view "$Users" (also titled "People by key")
};

const std::filesystem::path kAddressBook = std::filesystem::path(NOTESRT_TEST_DATA) / "names.nsf";

class AddressBookTest : public OpenDatabaseTest {
  protected:
    void SetUp() override { OpenWith("names.nsf", FileBytes(kAddressBook)); }

    HCOLLECTION OpenUsers() const {
        HCOLLECTION collection = 0;
        EXPECT_EQ(NIFOpenCollection(db, db, kUsersView, 0, 0, &collection, nullptr, nullptr,
                                    nullptr, nullptr),
                  0);
        return collection;
    }
};

// One read from position of count entries after skipping skipCount; sets signal and skipped.
std::vector<NOTEID> ReadOnce(HCOLLECTION collection, COLLECTIONPOSITION& position,
                             uint32_t skipCount, uint32_t count, uint16_t& signal,
                             uint32_t* skipped = nullptr) {
    DHANDLE block = 0;
    uint32_t returned = 0;
    EXPECT_EQ(NIFReadEntries(collection, &position, skipCount ? NAVIGATE_NEXT : NAVIGATE_CURRENT,
                             skipCount, NAVIGATE_NEXT, count, READ_MASK_NOTEID, &block, nullptr,
                             skipped, &returned, &signal),
              0);
    std::vector<NOTEID> ids(returned);
    if (returned != 0)
        std::memcpy(ids.data(), BlockBytes(block, returned * 4).data(), returned * 4);
    EXPECT_EQ(OSMemFree(block), 0);
    return ids;
}

// Reads every entry from position, count at a time, the way an address-book search does;
// returns the note IDs of all answers and sets the number of answers.
std::vector<NOTEID> ReadAll(HCOLLECTION collection, COLLECTIONPOSITION& position, uint32_t count,
                            int& answers) {
    std::vector<NOTEID> ids;
    uint16_t signal = SIGNAL_MORE_TO_DO;
    for (answers = 0; (signal & SIGNAL_MORE_TO_DO) != 0 && answers < 100; ++answers) {
        for (NOTEID id : ReadOnce(collection, position, 0, count, signal))
            ids.push_back(id);
    }
    return ids;
}

std::string Lmbcs(const std::string& utf8) {
    char out[256] = {};
    OSTranslate(OS_TRANSLATE_UTF8_TO_LMBCS, utf8.data(), static_cast<uint16_t>(utf8.size()), out,
                sizeof out - 1);
    return out;
}

class FindByNameTest : public AddressBookTest, public testing::WithParamInterface<Row> {};

// Rows of data/find_by_name.tsv: the key, the flags and the answer (hexadecimal), and the
// note IDs of the entries matched.
TEST_P(FindByNameTest, FindsTheMatchingKeys) {
    const Row& row = GetParam();
    const HCOLLECTION collection = OpenUsers();
    COLLECTIONPOSITION position = {};
    uint32_t matches = 0;
    EXPECT_EQ(NIFFindByName(collection, Lmbcs(row[1]).c_str(),
                            static_cast<uint16_t>(std::stoi(row[2], nullptr, 16)), &position,
                            &matches),
              std::stoi(row[3], nullptr, 16));
    std::vector<NOTEID> expected;
    std::istringstream ids(row[4]);
    for (NOTEID id; ids >> id;)
        expected.push_back(id);
    int answers = 0;
    EXPECT_EQ(matches == 0 ? std::vector<NOTEID>()
                           : ReadAll(collection, position, matches, answers),
              expected);
    EXPECT_EQ(NIFCloseCollection(collection), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, FindByNameTest, testing::ValuesIn(DataFile("find_by_name.tsv")),
                         FirstField);

// Every entry of the view: the keys in order are alee, ann lee, ann.lee@acme.example, anna
// berg, anna@acme.example, bo chen, cn=ann lee/o=acme, cn=anna berg/o=acme, cn=josé núñez/o=acme,
// josé núñez, ольга петрова.
const std::vector<NOTEID> kEveryEntry = {kAnnLee,    kAnnLee,    kAnnLee, kAnnaBerg,
                                         kAnnaBerg,  kBoChen,    kAnnLee, kAnnaBerg,
                                         kJoseNunez, kJoseNunez, kOlga};

// Answers of two entries at most.
class PieceTest : public AddressBookTest {
  protected:
    void SetUp() override {
        OpenWith("names.nsf", FileBytes(kAddressBook), "NotesrtCollectionPiece=2\n");
    }
};

TEST_F(PieceTest, ARequestEndsAtItsCountAcrossAnswers) {
    const HCOLLECTION collection = OpenUsers();
    for (uint32_t count : {3u, 4u, 12u, 20u}) {
        COLLECTIONPOSITION position = {};
        position.Tumbler[0] = 1;
        int answers = 0;
        const std::vector<NOTEID> ids = ReadAll(collection, position, count, answers);
        const size_t expected = std::min<size_t>(count, kEveryEntry.size());
        EXPECT_EQ(ids, std::vector<NOTEID>(kEveryEntry.begin(), kEveryEntry.begin() + expected))
            << count;
        EXPECT_EQ(answers, static_cast<int>((expected + 1) / 2)) << count;
        EXPECT_EQ(position.Tumbler[0], expected + 1) << count;
    }
    EXPECT_EQ(NIFCloseCollection(collection), 0);
}

TEST_F(PieceTest, SkipsBeforeReading) {
    const HCOLLECTION collection = OpenUsers();
    uint16_t signal = 0;
    uint32_t skipped = 0;
    COLLECTIONPOSITION position = {};
    EXPECT_EQ(ReadOnce(collection, position, 5, 2, signal, &skipped),
              (std::vector<NOTEID>{kAnnaBerg, kBoChen}));
    EXPECT_EQ(skipped, 5u);
    EXPECT_EQ(signal, 0);
    EXPECT_EQ(position.Tumbler[0], 7u);
    position.Tumbler[0] = 10;
    EXPECT_EQ(ReadOnce(collection, position, 5, 2, signal, &skipped), std::vector<NOTEID>());
    EXPECT_EQ(skipped, 2u);
    EXPECT_EQ(NIFCloseCollection(collection), 0);
}

TEST_F(AddressBookTest, AChangedFileIsListedAnew) {
    const auto findCy = [this] {
        const HCOLLECTION collection = OpenUsers();
        COLLECTIONPOSITION position = {};
        uint32_t matches = 0;
        const STATUS status = NIFFindByName(collection, "cy diaz", 2, &position, &matches);
        EXPECT_EQ(NIFCloseCollection(collection), 0);
        return status;
    };
    EXPECT_EQ(findCy(), ERR_NOT_FOUND);
    EXPECT_EQ(NSFDbClose(db), 0);
    std::string json = FileBytes(kAddressBook);
    json.insert(json.rfind(']'), R"(, {"noteId": 70, "items": [["Form", "Person"],
                                    ["FullName", "Cy Diaz"]]})");
    install.Write("data/names.nsf", json);
    ASSERT_EQ(NSFDbOpen("names.nsf", &db), 0);
    EXPECT_EQ(findCy(), 0);
}

// What the search routine saw, and what it answers.
struct Visit {
    DBHANDLE db = 0;            // the database the routine opens notes in
    size_t stopAfter = 0;       // the visit (counted from 1) that answers 0x1234; 0: none
    std::vector<NOTEID> ids;    // the note IDs seen, in order
    std::vector<NOTEID> opened; // the note IDs the routine opened by UNID and closed again
};

STATUS LNCALLBACK Record(void* parameter, SEARCH_MATCH* match, ITEM_TABLE*) {
    auto& visit = *static_cast<Visit*>(parameter);
    visit.ids.push_back(match->ID.NoteID);
    EXPECT_EQ(match->SERetFlags, SE_FMATCH);
    EXPECT_EQ(match->OriginatorID.Sequence, 1u);
    NOTEHANDLE note = 0;
    UNID unid = {match->OriginatorID.File, match->OriginatorID.Note};
    if (NSFNoteOpenByUNID(visit.db, &unid, 0, &note) == 0) {
        NOTEID id = 0;
        NSFNoteGetInfo(note, _NOTE_ID, &id);
        visit.opened.push_back(id);
        NSFNoteClose(note);
    }
    return visit.ids.size() == visit.stopAfter ? 0x1234 : 0;
}

TEST_F(AddressBookTest, SearchVisitsTheNotesOfTheClass) {
    // The classes searched, the visit that answers 0x1234 (0: none) and the notes visited.
    const std::tuple<uint16_t, size_t, std::vector<NOTEID>> rows[] = {
        {NOTE_CLASS_DOCUMENT, 0, {kAnnLee, kAnnaBerg, kBoChen, kJoseNunez, kOlga, kTeam}},
        {NOTE_CLASS_VIEW, 0, {kUsersView}},
        {NOTE_CLASS_DOCUMENT, 2, {kAnnLee, kAnnaBerg}},
        {0, 0, {}}};
    for (const auto& [classMask, stopAfter, ids] : rows) {
        Visit visit{db, stopAfter, {}, {}};
        TIMEDATE until = {};
        EXPECT_EQ(NSFSearch(db, 0, nullptr, 0, classMask, nullptr, Record, &visit, &until),
                  stopAfter != 0 ? 0x1234 : 0);
        EXPECT_EQ(visit.ids, ids);
        EXPECT_EQ(visit.opened, ids);
        EXPECT_EQ(until.Innards[1] != 0, stopAfter == 0);
    }
}

} // namespace
