// Mail through the runtime: storing a message into a file changed meanwhile, refused updates,
// writes the system refuses, the lock among processes, lists taken whatever the outcome. The whole
// delivery, with bodies and planned failures of every call, is in the library's mail suite.
#include "os.h"
#include "status.h"
#include "temp_install.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <thread>
#include <vector>

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

char kMailFile[] = "mail/alee.nsf"; // not const: MailOpenMessageFile takes a char*

// A prefixed text list of entries, unlocked.
DHANDLE List(const std::vector<std::string>& entries, uint16_t* size) {
    DHANDLE list = 0;
    void* pointer = nullptr;
    EXPECT_EQ(ListAllocate(0, 0, 1, &list, &pointer, size), 0);
    OSUnlockObject(list);
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(ListAddEntry(list, 1, size, static_cast<uint16_t>(i), entries[i].data(),
                               static_cast<uint16_t>(entries[i].size())),
                  0);
    return list;
}

std::string ItemText(NOTEHANDLE note, const char* name) {
    char text[512] = {};
    NSFItemConvertToText(note, name, text, sizeof text, ';');
    return text;
}

class MailRuntimeTest : public testing::Test {
  protected:
    void SetUp() override {
        install.WriteStandard();
        install.Write("data/mail/alee.nsf", FileBytes(fs::path(MAIL_FIXTURES) / "alee.nsf"));
        ASSERT_EQ(install.Start(), 0);
        ASSERT_EQ(MailOpenMessageFile(kMailFile, &file), 0);
        ASSERT_EQ(MailCreateMessage(file, &message), 0);
    }
    void TearDown() override {
        NotesrtSetFaults(nullptr);
        EXPECT_EQ(MailCloseMessage(message), 0);
        EXPECT_EQ(MailCloseMessageFile(file), 0);
        const NotesrtCounts counts = Counts();
        EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated, 0u);
        for (const auto& entry : fs::directory_iterator(install.root / "data" / "mail"))
            EXPECT_EQ(entry.path().filename(), "alee.nsf");
    }
    Json Stored(const std::string& relative) const { return Json::parse(install.Read(relative)); }

    TempInstall install;
    DHANDLE file = 0;       // the mail file
    NOTEHANDLE message = 0; // a message created in it
};

TEST_F(MailRuntimeTest, RefusedUpdatesLeaveTheFileAsItWas) {
    const std::string before = install.Read("data/mail/alee.nsf");
    NOTEID unknown = 40;
    NSFNoteSetInfo(message, _NOTE_ID, &unknown);
    EXPECT_EQ(NSFNoteUpdate(message, 4), notesrt::kErrNoteNotFound);
    NSFNoteSetInfo(message, _NOTE_ID, nullptr);
    WORD unstored = 0x0004;
    NSFNoteSetInfo(message, _NOTE_CLASS, &unstored);
    EXPECT_EQ(NSFNoteUpdate(message, 4), notesrt::kErrInvalidArgument);
    EXPECT_EQ(install.Read("data/mail/alee.nsf"), before);
    install.Write("data/mail/alee.nsf", "{\"notes\": [");
    EXPECT_EQ(NSFNoteUpdate(message, 4), notesrt::kErrDatabaseDamaged);
    EXPECT_EQ(install.Read("data/mail/alee.nsf"), "{\"notes\": [");
}

TEST_F(MailRuntimeTest, TheMessageTakesItsListsOnlyWhenTheCallSucceeds) {
    uint16_t size = 0;
    const DHANDLE shortList = List({"bo@acme.example"}, &size);
    EXPECT_EQ(MailAddRecipientsItem(message, shortList, static_cast<uint16_t>(size - 3)),
              notesrt::kErrListInvalid);
    const DHANDLE dateList = List({"bo@acme.example"}, &size);
    EXPECT_EQ(MailAddHeaderItemByHandle(message, MAIL_POSTEDDATE_ITEM_NUM, dateList, size, 0),
              notesrt::kErrInvalidArgument);
    NotesrtSetFaults("MailAddHeaderItemByHandle@1=0x0107");
    const DHANDLE plannedList = List({"bo@acme.example"}, &size);
    EXPECT_EQ(MailAddHeaderItemByHandle(message, MAIL_SENDTO_ITEM_NUM, plannedList, size, 0),
              0x0107);
    for (const DHANDLE list : {shortList, dateList, plannedList}) {
        EXPECT_EQ(NotesrtMemLockCount(list), 0);
        EXPECT_EQ(OSMemFree(list), 0);
    }
    const DHANDLE taken = List({"bo@acme.example"}, &size);
    EXPECT_EQ(MailAddHeaderItemByHandle(message, MAIL_SENDTO_ITEM_NUM, taken, size, 0), 0);
    EXPECT_EQ(NotesrtMemLockCount(taken), -1);
}

TEST_F(MailRuntimeTest, KeepsWhatWasWrittenMeanwhileAndEveryHandleSeesTheResult) {
    DBHANDLE other = 0;
    ASSERT_EQ(NSFDbOpen(kMailFile, &other), 0);
    Json edited = Stored("data/mail/alee.nsf");
    edited["notes"].push_back(Json::parse(R"({"noteId": 100, "items": [["Form", "Memo"]]})"));
    install.Write("data/mail/alee.nsf", edited.dump());
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "One", 3), 0);
    ASSERT_EQ(NSFNoteUpdate(message, 0), 0);
    NOTEID stored = 0;
    NSFNoteGetInfo(message, _NOTE_ID, &stored);
    EXPECT_EQ(stored, 24u);
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "Two", 3), 0);
    ASSERT_EQ(NSFNoteUpdate(message, 0), 0);
    EXPECT_EQ(Stored("data/mail/alee.nsf")["notes"].size(), 6u);
    for (const NOTEID id : {NOTEID{100}, NOTEID{24}}) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NSFNoteOpenExt(other, id, 0, &note), 0);
        EXPECT_EQ(ItemText(note, "Subject"), id == 24 ? "Two" : "");
        EXPECT_EQ(NSFNoteClose(note), 0);
    }
    EXPECT_EQ(NSFDbClose(other), 0);
}

// A step of the write refused: before the rename the file stays as it was; after it (only the
// folder's flush failed) the note is in the file and every handle sees it.
TEST_F(MailRuntimeTest, RefusedWriteStepsLeaveTheFileOrHoldTheWholeNote) {
    DBHANDLE other = 0;
    ASSERT_EQ(NSFDbOpen(kMailFile, &other), 0);
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "One", 3), 0);
    for (const char* step : {"FileLock", "FileWrite", "FileFlush", "FileRename", "FolderFlush"}) {
        NotesrtSetFaults((std::string(step) + "@1=1").c_str());
        EXPECT_EQ(NSFNoteUpdate(message, 0), notesrt::kErrCannotWriteFile) << step;
        NotesrtSetFaults(nullptr);
        const bool stored = std::string(step) == "FolderFlush";
        EXPECT_EQ(Stored("data/mail/alee.nsf")["notes"].size(), stored ? 5u : 4u) << step;
        NOTEID noteId = 0;
        NSFNoteGetInfo(message, _NOTE_ID, &noteId);
        EXPECT_EQ(noteId != 0, stored) << step;
    }
    NOTEID noteId = 0;
    NSFNoteGetInfo(message, _NOTE_ID, &noteId);
    EXPECT_EQ(NSFDbGetNoteInfo(other, noteId, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(NSFDbClose(other), 0);
}

// An update waits while another writer holds the file's lock, and leaves no lock file behind
// (TearDown).
TEST_F(MailRuntimeTest, AnUpdateWaitsForTheFileLock) {
    notesrt::FileLock held;
    ASSERT_TRUE(held.Acquire(install.root / "data" / "mail" / "alee.nsf.lock"));
    ASSERT_EQ(MailAddHeaderItem(message, MAIL_SUBJECT_ITEM_NUM, "Late", 4), 0);
    STATUS status = 1;
    std::thread update([&] { status = NSFNoteUpdate(message, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Stored("data/mail/alee.nsf")["notes"].size(), 4u);
    held.Release();
    update.join();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Stored("data/mail/alee.nsf")["notes"].size(), 5u);
}

} // namespace
