// Planned faults in the note, item, MIME and time calls: the planned call fails and gives
// nothing back, the next one works, and nothing stays open.
#include "open_database.h"

namespace {

constexpr uint32_t kPlanned = 0x1234;

// What the calls work on, made before the plan is set.
struct Handles {
    DBHANDLE db;              // notes.nsf
    NOTEHANDLE note;          // note 100
    NOTEHANDLE mimeNote;      // note 200 opened with OPEN_RAW_MIME
    HMIMEDIRECTORY directory; // its MIME directory
    PMIMEENTITY root;         // the directory's root
    PMIMEENTITY plain;        // its text/plain part
    BLOCKID body;             // item and value block of note 100's first Body
    uint32_t bodyLength;      // that value's length
    BLOCKID file;             // item block of note 100's $FILE
    std::string folder;       // a folder for extracted files
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
        ASSERT_EQ(MIMEGetRootEntity(handles.directory, &handles.root), 0);
        PMIMEENTITY alternative = nullptr;
        ASSERT_EQ(MIMEIterateNext(handles.directory, handles.root, handles.root, &alternative), 0);
        ASSERT_EQ(MIMEIterateNext(handles.directory, handles.root, alternative, &handles.plain), 0);
        ASSERT_EQ(NSFItemInfo(handles.note, "Body", 4, nullptr, nullptr, &handles.body,
                              &handles.bodyLength),
                  0);
        ASSERT_EQ(NSFItemInfo(handles.note, "$FILE", 5, &handles.file, nullptr, nullptr, nullptr),
                  0);
        handles.folder = install.root.string();
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

TIMEDATE SomeTime() {
    TIMEDATE time = {{3600 * 100, 2461000}};
    return time;
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
    {"NSFNoteOpenByUNID",
     [](const Handles& h) {
         const UNID unid = {{{0xB, 0xA}}, {{0xD, 0xC}}};
         NOTEHANDLE note = 0;
         const STATUS status = NSFNoteOpenByUNID(h.db, &unid, 0, &note);
         NSFNoteClose(note);
         return Status(status);
     },
     kPlanned},
    {"NSFNoteClose",
     [](const Handles& h) {
         NOTEHANDLE note = 0;
         NSFNoteOpenExt(h.db, 100, 0, &note);
         const STATUS status = NSFNoteClose(note);
         if (status != 0)
             NSFNoteClose(note);
         return Status(status);
     },
     kPlanned},
    {"NSFDbGetNoteInfoByUNID",
     [](const Handles& h) {
         const UNID unid = {{{0xB, 0xA}}, {{0xD, 0xC}}};
         NOTEID id = 0;
         return Status(NSFDbGetNoteInfoByUNID(h.db, &unid, &id, nullptr, nullptr, nullptr));
     },
     kPlanned},
    {"NSFDbGetNoteInfo",
     [](const Handles& h) {
         ORIGINATORID oid;
         return Status(NSFDbGetNoteInfo(h.db, 100, &oid, nullptr, nullptr));
     },
     kPlanned},
    {"NSFItemInfo",
     [](const Handles& h) {
         return Status(NSFItemInfo(h.note, "Subject", 7, nullptr, nullptr, nullptr, nullptr));
     },
     kPlanned},
    {"NSFItemInfoNext",
     [](const Handles& h) {
         return Status(
             NSFItemInfoNext(h.note, h.body, "Body", 4, nullptr, nullptr, nullptr, nullptr));
     },
     kPlanned},
    {"NSFItemGetText",
     [](const Handles& h) {
         char text[32];
         return uint32_t{NSFItemGetText(h.note, "Subject", text, sizeof text)};
     },
     0},
    {"NSFItemConvertToText",
     [](const Handles& h) {
         char text[64];
         return uint32_t{NSFItemConvertToText(h.note, "Dates", text, sizeof text, ';')};
     },
     0},
    {"NSFItemGetTime",
     [](const Handles& h) {
         TIMEDATE time;
         return static_cast<uint32_t>(NSFItemGetTime(h.note, "StartDateTime", &time));
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
    {"NSFNoteExtractFile",
     [](const Handles& h) {
         return Status(NSFNoteExtractFile(h.note, h.file, (h.folder + "/photo").c_str(), nullptr));
     },
     kPlanned},
    {"MIMEOpenDirectory",
     [](const Handles& h) {
         HMIMEDIRECTORY directory = 0;
         const STATUS status = MIMEOpenDirectory(h.mimeNote, &directory);
         if (status == 0)
             MIMEFreeDirectory(directory);
         return Status(status);
     },
     kPlanned},
    {"MIMEFreeDirectory",
     [](const Handles& h) {
         HMIMEDIRECTORY directory = 0;
         MIMEOpenDirectory(h.mimeNote, &directory);
         const STATUS status = MIMEFreeDirectory(directory);
         if (status != 0)
             MIMEFreeDirectory(directory);
         return Status(status);
     },
     kPlanned},
    {"MIMEGetRootEntity",
     [](const Handles& h) {
         PMIMEENTITY root = nullptr;
         return Status(MIMEGetRootEntity(h.directory, &root));
     },
     kPlanned},
    {"MIMEIterateNext",
     [](const Handles& h) {
         PMIMEENTITY next = nullptr;
         return Status(MIMEIterateNext(h.directory, h.root, h.root, &next));
     },
     kPlanned},
    {"MIMEGetEntityPartFlags",
     [](const Handles& h) {
         uint32_t flags = 0;
         return Status(MIMEGetEntityPartFlags(h.mimeNote, h.plain, &flags));
     },
     kPlanned},
    {"MIMEEntityGetTypeParam",
     [](const Handles& h) {
         DHANDLE value = 0;
         uint32_t length = 0;
         return Status(MIMEEntityGetTypeParam(h.plain, MIME_PARAM_CHARSET, &value, &length));
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
    {"MIMEGetEntityData",
     [](const Handles& h) {
         DHANDLE data = 0;
         uint32_t length = 0;
         return Status(
             MIMEGetEntityData(h.mimeNote, h.plain, MIME_DATA_BODY, 0, 0xFFFFFFFF, &data, &length));
     },
     kPlanned},
    {"ConvertTextToTIMEDATE",
     [](const Handles&) {
         char text[] = "12/07/2026 09:00:00";
         char* cursor = text;
         TIMEDATE time;
         return Status(ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 80, &time));
     },
     kPlanned},
    {"ConvertTIMEDATEToText",
     [](const Handles&) {
         const TIMEDATE time = SomeTime();
         char text[80];
         uint16_t length = 0;
         return Status(ConvertTIMEDATEToText(nullptr, nullptr, &time, text, 80, &length));
     },
     kPlanned},
    {"TimeGMToLocal",
     [](const Handles&) {
         TIME time = {};
         time.GM = SomeTime();
         return static_cast<uint32_t>(TimeGMToLocal(&time));
     },
     1},
    {"TimeDateAdjust",
     [](const Handles&) {
         TIMEDATE time = SomeTime();
         return Status(TimeDateAdjust(&time, 0, 0, 5, 0, 0, 0));
     },
     kPlanned},
};

INSTANTIATE_TEST_SUITE_P(Calls, CallFaultTest, testing::ValuesIn(kCalls),
                         [](const auto& row) { return std::string(row.param.call); });

} // namespace
