// People of a vCard file as person documents of a Notes address book.
#pragma once

#include "install_writer.h"

#include <ostream>
#include <string>
#include <vector>

namespace korvo_import {

// One person of the directory.
struct Person {
    std::string canonical;           // "CN=<FN><suffix>", the name the calendar refers to
    std::vector<std::string> emails; // every EMAIL, the preferred one first
    korvo_install::NoteBuilder note; // the person document
};

// Reads the cards of file into person documents; suffix is the hierarchy every name gets
// ("/O=Acme"). Pictures that are not inline (a link) are reported on warnings and left out.
// Throws ImportError (file, line and property) for input the vCard reader refuses, a picture
// that is not base64, or an EMAIL that is empty.
std::vector<Person> ReadPeople(const std::string& file, const std::string& suffix,
                               std::ostream& warnings);

// Bytes of base64 text (padding optional, no blanks). Returns false when text is not base64.
bool DecodeBase64(const std::string& text, std::string& bytes);

} // namespace korvo_import
