// Planned faults in the note, item, MIME and time calls: the planned call fails and gives
// nothing back, the next one works, and nothing stays open (a failed free still frees).
#include "open_database.h"

namespace {

constexpr uint32_t kPlanned = 0x1234;

// What the calls work on, made before the plan is set.
struct Handles {
    DBHANDLE db;              // notes.nsf
    NOTEHANDLE note;          // note 100
    NOTEHANDLE mimeNote;      // note 200 opened with OPEN_RAW_MIME
    HMIMEDIRECTORY directory; // its MIME directory
    PMIMEENTITY plain;        // its text/plain part
    BLOCKID body;             // item and value block of note 100's first Body
    uint32_t bodyLength;      // that value's length
};

struct CallCase {
    const char* call;                // the call's name in the plan
    uint32_t (*run)(const Handles&); // makes the call once and gives back what it took
    uint32_t failed;                 // the answer of the planned failure
};

class CallFaultTest : public OpenDatabaseTest, public testing::WithParamInterface<CallCase> {
  protected:
    void SetUp() override {
        OpenDatabaseTest::SetUp();
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
        OpenDatabaseTest::TearDown();
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

uint32_t Status(STATUS status) {
    return status;
}

const CallCase kCalls[] = {
    {"NIFFindView",
     [](const Handles& h) {
         NOTEID id = 0;
         return Status(NIFFindView(h.db, "$Users", NOTE_CLASS_VIEW, "-G40n^", &id, 0));
     },
     kPlanned},
    {"NSFNoteOpenExt",
     [](const Handles& h) {
         NOTEHANDLE note = 0;
         const STATUS status = NSFNoteOpenExt(h.db, 100, 0, &note);
         NSFNoteClose(note);
         return Status(status);
     },
     kPlanned},
    {"NSFItemGetText",
     [](const Handles& h) {
         char text[32];
         return uint32_t{NSFItemGetText(h.note, "Subject", text, sizeof text)};
     },
     0},
    {"ConvertItemToText",
     [](const Handles& h) {
         DHANDLE text = 0;
         uint32_t length = 0;
         const STATUS status =
             ConvertItemToText(h.body, h.bodyLength, "\r\n", 100, &text, &length, 1);
         OSMemFree(text);
         return Status(status);
     },
     kPlanned},
    {"MIMEFreeDirectory",
     [](const Handles& h) {
         HMIMEDIRECTORY directory = 0;
         MIMEOpenDirectory(h.mimeNote, &directory);
         return Status(MIMEFreeDirectory(directory)); // released even when it fails
     },
     kPlanned},
    {"MIMEGetDecodedEntityData",
     [](const Handles& h) {
         DHANDLE data = 0;
         uint32_t length = 0;
         return Status(
             MIMEGetDecodedEntityData(h.mimeNote, h.plain, 0, 0xFFFFFFFF, &data, &length, nullptr));
     },
     kPlanned},
    {"TimeGMToLocal",
     [](const Handles&) {
         TIME time = {};
         time.GM = TIMEDATE{{3600 * 100, 2461000}};
         return static_cast<uint32_t>(TimeGMToLocal(&time));
     },
     1},
};

INSTANTIATE_TEST_SUITE_P(Calls, CallFaultTest, testing::ValuesIn(kCalls),
                         [](const auto& row) { return std::string(row.param.call); });

} // namespace
