// Collections of the $Users view: keys found by name, entries read in pieces, and the view
// computed again when the file changes.
#include "address_book.h"

namespace {

// Reads every entry from position, count at a time, the way an address-book search does;
// returns the note IDs of all answers and the number of answers.
std::vector<NOTEID> ReadAll(HCOLLECTION collection, COLLECTIONPOSITION& position, uint32_t count,
                            int& answers) {
    std::vector<NOTEID> ids;
    answers = 0;
    uint16_t signal = SIGNAL_MORE_TO_DO;
    while ((signal & SIGNAL_MORE_TO_DO) != 0 && answers < 100) {
        DHANDLE block = 0;
        uint32_t returned = 0;
        EXPECT_EQ(NIFReadEntries(collection, &position, NAVIGATE_CURRENT, 0, NAVIGATE_NEXT, count,
                                 READ_MASK_NOTEID, &block, nullptr, nullptr, &returned, &signal),
                  0);
        ++answers;
        for (NOTEID id : NoteIds(block, returned))
            ids.push_back(id);
        EXPECT_EQ(OSMemFree(block), 0);
    }
    return ids;
}

struct FindCase {
    const char* name;            // the row's name
    const char* key;             // the text looked for (UTF-8, sent as LMBCS)
    uint16_t flags;              // find flags
    STATUS status;               // the answer
    std::vector<NOTEID> matches; // the note IDs of the matched entries, in key order
};

class FindByNameTest : public AddressBookTest, public testing::WithParamInterface<FindCase> {};

std::string Lmbcs(const std::string& utf8) {
    char out[256] = {};
    OSTranslate(OS_TRANSLATE_UTF8_TO_LMBCS, utf8.data(), static_cast<uint16_t>(utf8.size()), out,
                sizeof out - 1);
    return out;
}

TEST_P(FindByNameTest, FindsTheMatchingKeys) {
    HCOLLECTION collection = 0;
    ASSERT_EQ(NIFOpenCollection(db, db, kUsersView, 0, 0, &collection, nullptr, nullptr, nullptr,
                                nullptr),
              0);
    COLLECTIONPOSITION position = {};
    uint32_t matches = 0;
    EXPECT_EQ(NIFFindByName(collection, Lmbcs(GetParam().key).c_str(), GetParam().flags, &position,
                            &matches),
              GetParam().status);
    int answers = 0;
    const std::vector<NOTEID> ids =
        matches == 0 ? std::vector<NOTEID>() : ReadAll(collection, position, matches, answers);
    EXPECT_EQ(ids, GetParam().matches);
    EXPECT_EQ(NIFCloseCollection(collection), 0);
}

// Every entry of the view: the keys in order are alee, ann lee, ann.lee@acme.example, anna
// berg, anna@acme.example, bo chen, cn=ann lee/o=acme, cn=anna berg/o=acme, cn=josé núñez/o=acme,
// josé núñez, ольга петрова.
const std::vector<NOTEID> kEveryEntry = {kAnnLee,    kAnnLee,    kAnnLee, kAnnaBerg,
                                         kAnnaBerg,  kBoChen,    kAnnLee, kAnnaBerg,
                                         kJoseNunez, kJoseNunez, kOlga};

INSTANTIATE_TEST_SUITE_P(
    Keys, FindByNameTest,
    testing::Values(
        FindCase{"CommonNameIgnoringCase", "ann LEE", 2, 0, {kAnnLee}},
        FindCase{"CanonicalName", "cn=ann lee/o=acme", 2, 0, {kAnnLee}},
        FindCase{"ShortName", "ALEE", 2, 0, {kAnnLee}},
        FindCase{"PrefixOfSeveralKeys", "Ann", 3, 0, {kAnnLee, kAnnLee, kAnnaBerg, kAnnaBerg}},
        FindCase{"PrefixIsNotAnEqualKey", "Ann", 2, ERR_NOT_FOUND, {}},
        FindCase{"AccentedPrefix", "JOSÉ N", 3, 0, {kJoseNunez}},
        FindCase{"FirstAndLastName", "ольга петрова", 2, 0, {kOlga}},
        FindCase{"LowerCaseFormIsListed", "Bo Chen", 2, 0, {kBoChen}},
        FindCase{"GroupIsNotListed", "Ann Team", 2, ERR_NOT_FOUND, {}},
        FindCase{"CaseSensitiveEqual", "Ann Lee", 0, 0, {kAnnLee}},
        FindCase{"CaseSensitiveDiffers", "ann lee", 0, ERR_NOT_FOUND, {}},
        FindCase{"EmptyPrefixListsAll", "", 3, 0, kEveryEntry},
        FindCase{"CaseSensitivePrefixRefused", "Ann", 1, 0x0109, {}},
        FindCase{"UnknownFlagRefused", "Ann", 0x12, 0x0109, {}}),
    [](const testing::TestParamInfo<FindCase>& row) { return std::string(row.param.name); });

// Answers of two entries at most.
class PieceTest : public AddressBookTest {
  protected:
    void SetUp() override { OpenWith("NotesrtCollectionPiece=2\n"); }

    HCOLLECTION OpenUsers() {
        HCOLLECTION collection = 0;
        EXPECT_EQ(NIFOpenCollection(db, db, kUsersView, 0, 0, &collection, nullptr, nullptr,
                                    nullptr, nullptr),
                  0);
        return collection;
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

// One read of count entries from position; returns the note IDs and sets signal.
std::vector<NOTEID> ReadOnce(HCOLLECTION collection, COLLECTIONPOSITION& position,
                             uint16_t skipNavigator, uint32_t skipCount, uint32_t count,
                             uint16_t& signal, uint32_t& skipped) {
    DHANDLE block = 0;
    uint32_t returned = 0;
    EXPECT_EQ(NIFReadEntries(collection, &position, skipNavigator, skipCount, NAVIGATE_NEXT, count,
                             READ_MASK_NOTEID, &block, nullptr, &skipped, &returned, &signal),
              0);
    const std::vector<NOTEID> ids = NoteIds(block, returned);
    EXPECT_EQ(OSMemFree(block), 0);
    return ids;
}

TEST_F(PieceTest, SkipsBeforeReading) {
    const HCOLLECTION collection = OpenUsers();
    uint16_t signal = 0;
    uint32_t skipped = 0;
    COLLECTIONPOSITION position = {};
    EXPECT_EQ(ReadOnce(collection, position, NAVIGATE_NEXT, 5, 2, signal, skipped),
              (std::vector<NOTEID>{kAnnaBerg, kBoChen}));
    EXPECT_EQ(skipped, 5u);
    EXPECT_EQ(signal, 0);
    EXPECT_EQ(position.Tumbler[0], 7u);
    position.Tumbler[0] = 10;
    EXPECT_EQ(ReadOnce(collection, position, NAVIGATE_NEXT, 5, 2, signal, skipped),
              std::vector<NOTEID>());
    EXPECT_EQ(skipped, 2u);
    EXPECT_EQ(NIFCloseCollection(collection), 0);
}

TEST_F(AddressBookTest, AChangedFileIsListedAnew) {
    const std::string cy = R"(, {"noteId": 70, "items": [["Form", "Person"],
                                   ["FullName", "Cy Diaz"]]})";
    const std::pair<std::string, STATUS> rounds[] = {{AddressBookJson(), ERR_NOT_FOUND},
                                                     {AddressBookJson(cy), 0}};
    for (const auto& [json, status] : rounds) {
        EXPECT_EQ(NSFDbClose(db), 0);
        install.Write("data/names.nsf", json);
        ASSERT_EQ(NSFDbOpen("names.nsf", &db), 0);
        HCOLLECTION collection = 0;
        ASSERT_EQ(NIFOpenCollection(db, db, kUsersView, 0, 0, &collection, nullptr, nullptr,
                                    nullptr, nullptr),
                  0);
        COLLECTIONPOSITION position = {};
        uint32_t matches = 0;
        EXPECT_EQ(NIFFindByName(collection, "cy diaz", 2, &position, &matches), status);
        EXPECT_EQ(NIFCloseCollection(collection), 0);
    }
}

} // namespace
