// A started runtime with an address book open as data/names.nsf, and the check that
// everything was given back.
#pragma once

#include "notesrt_testing.h"
#include "temp_install.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

class AddressBookTest : public testing::Test {
  protected:
    // Installs the address book (with extraIni in notes.ini), starts the runtime and opens it.
    void SetUp() override { OpenWith(""); }
    // Closes db and expects nothing else to be open or allocated.
    void TearDown() override;

    void OpenWith(const std::string& extraIni);

    static NotesrtCounts Counts();

    TempInstall install; // the installation
    DBHANDLE db = 0;     // names.nsf
};

// The address book's JSON.
std::string AddressBookJson(const std::string& extraNotes = "");

// The note IDs in a block of count 32-bit note IDs (locked and unlocked again).
std::vector<NOTEID> NoteIds(DHANDLE block, uint32_t count);
