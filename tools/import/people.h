// People of a vCard file as person documents of a Notes address book.
#pragma once

#include "install_writer.h"

#include <string>
#include <vector>

namespace korvo_import {

// One person of the directory.
struct Person {
    std::string canonical;           // "CN=<FN><suffix>", the name the calendar refers to
    std::vector<std::string> emails; // every EMAIL, the preferred one first
    korvo_install::NoteBuilder note; // the person document
};

// What a vCard file gave.
struct Directory {
    std::vector<Person> people; // in file order
    int skipped = 0;            // cards left out (each reported)
};

class Report;

// Reads the cards of file into person documents; suffix is the hierarchy every name gets
// ("/O=Acme"). A card with a fault (see ReadVCards, and a value with a bad escape) is reported
// as a problem and skipped; a picture that is not base64 is reported as a problem and left out,
// one that is not inline (a link) is reported and left out. Empty EMAILs are ignored. Throws
// ImportError (file, line and property) for a file the vCard reader refuses, and for the first
// problem in strict mode.
Directory ReadPeople(const std::string& file, const std::string& suffix, Report& report);

} // namespace korvo_import
