// A started runtime with an address book open.
#include "address_book.h"

#include <cstring>

std::string AddressBookJson(const std::string& extraNotes) {
    return R"({"replicaId": "00000001000000B2", "dbId": "0000000200000003", "notes": [
  {"noteId": 10, "items": [["Form", "Person"], ["FullName", ["CN=Ann Lee/O=Acme", "Ann Lee"]],
    ["ShortName", "alee"], ["InternetAddress", "ann.lee@acme.example"],
    ["FirstName", "Ann"], ["LastName", "Lee"]]},
  {"noteId": 20, "items": [["Form", "Person"], ["FullName", "CN=Anna Berg/O=Acme"],
    ["InternetAddress", "anna@acme.example"]]},
  {"noteId": 30, "items": [["Form", "person"], ["FullName", "Bo Chen"], ["ShortName", ""]]},
  {"noteId": 40, "items": [["Form", "Person"], ["FullName", "CN=José Núñez/O=Acme"]]},
  {"noteId": 50, "items": [["Form", "Person"], ["FirstName", "Ольга"],
    ["LastName", "Петрова"]]},
  {"noteId": 60, "items": [["Form", "Group"], ["FullName", "Ann Team"]]},
  {"noteId": 100, "class": "view", "items": [["$TITLE", "People by key|$Users"]]})" +
           extraNotes + "]}";
}

void AddressBookTest::OpenWith(const std::string& extraIni) {
    install.WriteStandard(extraIni);
    install.Write("data/names.nsf", AddressBookJson());
    ASSERT_EQ(install.Start(), 0);
    ASSERT_EQ(NSFDbOpen("names.nsf", &db), 0);
}

void AddressBookTest::TearDown() {
    NotesrtSetFaults(nullptr);
    EXPECT_EQ(NSFDbClose(db), 0);
    const NotesrtCounts counts = Counts();
    EXPECT_EQ(counts.databases, 0u);
    EXPECT_EQ(counts.notes, 0u);
    EXPECT_EQ(counts.collections, 0u);
    EXPECT_EQ(counts.memoryAllocated, 0u);
    EXPECT_EQ(counts.memoryLocked, 0u);
}

NotesrtCounts AddressBookTest::Counts() {
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    return counts;
}

std::vector<NOTEID> NoteIds(DHANDLE block, uint32_t count) {
    std::vector<NOTEID> ids(count);
    const void* bytes = OSLockObject(block);
    if (bytes == nullptr)
        return {};
    std::memcpy(ids.data(), bytes, count * sizeof(NOTEID));
    OSUnlockObject(block);
    return ids;
}
