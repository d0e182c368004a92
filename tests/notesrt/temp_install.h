// A Notes installation in a temporary folder, removed with the object.
#pragma once

#include "notesapi.h"

#include <filesystem>
#include <string>

class TempInstall {
  public:
    // Creates an empty folder under the system's temporary directory.
    TempInstall();
    // Resets the runtime (stopping it) and removes the folder.
    ~TempInstall();
    TempInstall(const TempInstall&) = delete;
    TempInstall& operator=(const TempInstall&) = delete;

    // Writes content to the file at relative (folders created as needed).
    void Write(const std::string& relative, const std::string& content) const;
    // Copies a fixture from tests/data/notesrt to relative.
    void CopyFixture(const std::string& fixture, const std::string& relative) const;
    // The standard installation: notes.ini (Directory=data, KeyFileName=user.id, extraIni
    // appended) and data/user.id naming "CN=Ann Lee/O=Acme".
    void WriteStandard(const std::string& extraIni = "") const;
    // Starts the runtime with the folder as program directory and "=<folder>/notes.ini".
    STATUS Start() const;
    // The content of the file at relative.
    std::string Read(const std::string& relative) const;

    std::filesystem::path root; // the temporary folder
};

// The path of a fixture under tests/data/notesrt.
std::filesystem::path FixturePath(const std::string& fixture);

// The runtime's text for status.
std::string StatusText(STATUS status);
