// NSFSearch over the address book: the notes of a class in file order, the routine's answer
// ending the search, and runtime calls made from inside the routine.
#include "address_book.h"

namespace {

// What the routine saw, and what it answers.
struct Visit {
    DBHANDLE db = 0;             // the database the routine opens notes in; 0: none opened
    STATUS stopAt = 0;           // answer this status ...
    size_t stopAfter = 0;        // ... at this visit (counted from 1); 0: never
    std::vector<NOTEID> ids;     // the note IDs seen, in order
    std::vector<uint32_t> flags; // their SERetFlags
    std::vector<NOTEID> opened;  // the note IDs the routine opened and closed again
};

STATUS Record(void* parameter, SEARCH_MATCH* match, ITEM_TABLE*) {
    auto& visit = *static_cast<Visit*>(parameter);
    visit.ids.push_back(match->ID.NoteID);
    visit.flags.push_back(match->SERetFlags);
    EXPECT_EQ(match->OriginatorID.Sequence, 1u);
    if (visit.db != 0) {
        NOTEHANDLE note = 0;
        UNID unid = {match->OriginatorID.File, match->OriginatorID.Note};
        if (NSFNoteOpenByUNID(visit.db, &unid, 0, &note) == 0) {
            NOTEID id = 0;
            NSFNoteGetInfo(note, _NOTE_ID, &id);
            visit.opened.push_back(id);
            NSFNoteClose(note);
        }
    }
    return visit.ids.size() == visit.stopAfter ? visit.stopAt : 0;
}

struct SearchCase {
    const char* name;        // the row's name
    uint16_t classMask;      // note classes searched
    size_t stopAfter;        // the visit that answers 0x1234; 0: none
    STATUS status;           // NSFSearch's answer
    std::vector<NOTEID> ids; // the notes visited
};

class SearchTest : public AddressBookTest, public testing::WithParamInterface<SearchCase> {};

TEST_P(SearchTest, VisitsTheNotesOfTheClass) {
    Visit visit;
    visit.db = db;
    visit.stopAt = 0x1234;
    visit.stopAfter = GetParam().stopAfter;
    TIMEDATE until = {};
    EXPECT_EQ(NSFSearch(db, 0, nullptr, 0, GetParam().classMask, nullptr, Record, &visit, &until),
              GetParam().status);
    EXPECT_EQ(visit.ids, GetParam().ids);
    EXPECT_EQ(visit.opened, GetParam().ids);
    EXPECT_EQ(visit.flags, std::vector<uint32_t>(visit.ids.size(), SE_FMATCH));
    EXPECT_EQ(until.Innards[1] != 0, GetParam().status == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, SearchTest,
    testing::Values(
        SearchCase{"Documents",
                   NOTE_CLASS_DOCUMENT,
                   0,
                   0,
                   {kAnnLee, kAnnaBerg, kBoChen, kJoseNunez, kOlga, kTeam}},
        SearchCase{"Views", NOTE_CLASS_VIEW, 0, 0, {kUsersView}},
        SearchCase{"RoutineEndsTheSearch", NOTE_CLASS_DOCUMENT, 2, 0x1234, {kAnnLee, kAnnaBerg}},
        SearchCase{"NoClass", 0, 0, 0, {}}),
    [](const testing::TestParamInfo<SearchCase>& row) { return std::string(row.param.name); });

} // namespace
