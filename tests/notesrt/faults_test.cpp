// Fault injection: planned statuses, the plan from the environment, and planned faults in the
// note, item, MIME and time calls (the planned call fails and gives nothing back, the next one
// works, nothing stays open, a failed free still frees).
#include "temp_install.h"

#include <cstdlib>
#include <vector>

namespace {

struct FaultCase {
    const char* name;           // test name
    const char* plan;           // the fault plan
    std::vector<STATUS> allocs; // statuses of five OSMemAlloc calls in a row
};

class FaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, FailsThePlannedCallsOnly) {
    TempInstall install;
    install.WriteStandard();
    ASSERT_EQ(NotesrtSetFaults(GetParam().plan), 0);
    ASSERT_EQ(install.Start(), 0);
    std::vector<STATUS> statuses;
    uint32_t succeeded = 0;
    for (int i = 0; i < 5; ++i) {
        DHANDLE handle = 0xABCDu;
        statuses.push_back(OSMemAlloc(0, 8, &handle));
        if (statuses.back() == 0)
            ++succeeded;
        else
            EXPECT_EQ(handle, 0xABCDu);
    }
    EXPECT_EQ(statuses, GetParam().allocs);
    EXPECT_EQ(Counts().memoryAllocated, succeeded);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, FaultTest,
    testing::Values(FaultCase{"None", "", {0, 0, 0, 0, 0}},
                    FaultCase{"Second", "OSMemAlloc@2=0x4321", {0, 0x4321, 0, 0, 0}},
                    FaultCase{"ThirdOnward", "OSMemAlloc@3+=7", {0, 0, 7, 7, 7}},
                    FaultCase{"AnyCall", "*@3=9, NSFDbOpen@1=5", {0, 9, 0, 0, 0}},
                    FaultCase{"FirstRuleWins", "OSMemAlloc@2=3,*@3=4", {0, 3, 0, 0, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Faults, CountsEntriesNotUnderstood) {
    EXPECT_EQ(NotesrtSetFaults("X@0=1,X@1=0,X=1,@1=2,X@1=70000,X@1=2,X@a=1"), 6);
    EXPECT_EQ(NotesrtSetFaults(nullptr), 0);
    NotesrtReset();
}

TEST(Faults, InjectedStartDoesNotStart) {
    TempInstall install;
    install.WriteStandard();
    ASSERT_EQ(NotesrtSetFaults("NotesInitExtended@1=6022"), 0);
    EXPECT_EQ(install.Start(), ERR_ID_LOCKED);
    char name[MAXUSERNAME];
    EXPECT_NE(SECKFMGetUserName(name), 0);
    EXPECT_EQ(install.Start(), 0);
}

// Runs with NOTESRT_FAULTS=NSFDbOpen@1=0x1234 (a separate ctest entry); skipped otherwise.
TEST(FaultsFromEnvironment, ReadsThePlanAtStart) {
    if (std::getenv("NOTESRT_FAULTS") == nullptr)
        GTEST_SKIP() << "NOTESRT_FAULTS not set";
    TempInstall install;
    install.WriteStandard();
    install.CopyFixture("names.nsf", "data/names.nsf");
    ASSERT_EQ(install.Start(), 0);
    DBHANDLE db = 0;
    EXPECT_EQ(NSFDbOpen("names.nsf", &db), 0x1234);
    ASSERT_EQ(NSFDbOpen("names.nsf", &db), 0);
    EXPECT_EQ(NSFDbClose(db), 0);
}

constexpr uint32_t kPlanned = 0x1234;

// What the calls work on, made before the plan is set.
struct Handles {
    DBHANDLE db;              // notes.nsf
    NOTEHANDLE note;          // note 100
    NOTEHANDLE mimeNote;      // note 200 opened with OPEN_RAW_MIME
    HMIMEDIRECTORY directory; // its MIME directory
    PMIMEENTITY plain;        // its text/plain part
    BLOCKID body;             // value block of note 100's first Body
    uint32_t bodyLength;      // that value's length
};

struct CallCase {
    const char* call;                // the call's name in the plan
    uint32_t (*run)(const Handles&); // makes the call once and gives back what it took
    uint32_t failed;                 // the answer of the planned failure
};

class CallFaultTest : public NotesDatabaseTest, public testing::WithParamInterface<CallCase> {
  protected:
    void SetUp() override {
        NotesDatabaseTest::SetUp();
        handles.db = db;
        handles.note = Open(100);
        handles.mimeNote = Open(200, OPEN_RAW_MIME);
        ASSERT_EQ(MIMEOpenDirectory(handles.mimeNote, &handles.directory), 0);
        PMIMEENTITY root = nullptr, alternative = nullptr;
        ASSERT_EQ(MIMEGetRootEntity(handles.directory, &root), 0);
        ASSERT_EQ(MIMEIterateNext(handles.directory, root, root, &alternative), 0);
        ASSERT_EQ(MIMEIterateNext(handles.directory, root, alternative, &handles.plain), 0);
        ASSERT_EQ(NSFItemInfo(handles.note, "Body", 4, nullptr, nullptr, &handles.body,
                              &handles.bodyLength),
                  0);
    }
    void TearDown() override {
        NotesrtSetFaults(nullptr);
        EXPECT_EQ(MIMEFreeDirectory(handles.directory), 0);
        EXPECT_EQ(NSFNoteClose(handles.mimeNote), 0);
        EXPECT_EQ(NSFNoteClose(handles.note), 0);
        NotesDatabaseTest::TearDown();
    }

    Handles handles = {}; // the objects of the calls
};

TEST_P(CallFaultTest, FailsOnlyThePlannedCall) {
    const std::string plan = std::string(GetParam().call) + "@1=" + std::to_string(kPlanned);
    ASSERT_EQ(NotesrtSetFaults(plan.c_str()), 0);
    const NotesrtCounts before = Counts();
    EXPECT_EQ(GetParam().run(handles), GetParam().failed);
    const NotesrtCounts after = Counts();
    EXPECT_EQ(after.notes, before.notes);
    EXPECT_EQ(after.mimeDirectories, before.mimeDirectories);
    EXPECT_EQ(after.memoryAllocated, before.memoryAllocated);
    EXPECT_NE(GetParam().run(handles), GetParam().failed);
}

const CallCase kCalls[] = {
    {"NIFFindView",
     [](const Handles& h) -> uint32_t {
         NOTEID id = 0;
         return NIFFindView(h.db, "$Users", NOTE_CLASS_VIEW, "-G40n^", &id, 0);
     },
     kPlanned},
    {"NSFNoteOpenExt",
     [](const Handles& h) -> uint32_t {
         NOTEHANDLE note = 0;
         const STATUS status = NSFNoteOpenExt(h.db, 100, 0, &note);
         NSFNoteClose(note);
         return status;
     },
     kPlanned},
    {"NSFItemGetText",
     [](const Handles& h) -> uint32_t {
         char text[32];
         return NSFItemGetText(h.note, "Subject", text, sizeof text);
     },
     0},
    {"ConvertItemToText",
     [](const Handles& h) -> uint32_t {
         DHANDLE text = 0;
         uint32_t length = 0;
         const STATUS status =
             ConvertItemToText(h.body, h.bodyLength, "\r\n", 100, &text, &length, 1);
         OSMemFree(text);
         return status;
     },
     kPlanned},
    {"MIMEFreeDirectory",
     [](const Handles& h) -> uint32_t {
         HMIMEDIRECTORY directory = 0;
         MIMEOpenDirectory(h.mimeNote, &directory);
         return MIMEFreeDirectory(directory); // released even when it fails
     },
     kPlanned},
    {"MIMEGetDecodedEntityData",
     [](const Handles& h) -> uint32_t {
         DHANDLE data = 0;
         uint32_t length = 0;
         return MIMEGetDecodedEntityData(h.mimeNote, h.plain, 0, 0xFFFFFFFF, &data, &length,
                                         nullptr);
     },
     kPlanned},
    {"TimeGMToLocal",
     [](const Handles&) -> uint32_t {
         TIME time = {};
         time.GM = TIMEDATE{{3600 * 100, 2461000}};
         return TimeGMToLocal(&time);
     },
     1},
};

INSTANTIATE_TEST_SUITE_P(Calls, CallFaultTest, testing::ValuesIn(kCalls),
                         [](const auto& row) { return std::string(row.param.call); });

} // namespace
