// A Notes installation in a temporary folder for one test: notes.ini, the ID file and
// whatever databases the test adds. Removed with everything in it when the object goes.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace korvo_test {

class NotesInstallation {
  public:
    // Writes notes.ini with Directory=data, KeyFileName=user.id and the extra lines given,
    // and an ID file for userName.
    explicit NotesInstallation(std::vector<std::string> iniLines = {},
                               const std::string& userName = "CN=Ann Lee/O=Acme");
    ~NotesInstallation();
    NotesInstallation(const NotesInstallation&) = delete;
    NotesInstallation& operator=(const NotesInstallation&) = delete;

    std::filesystem::path Root() const { return m_root; }
    std::filesystem::path IniPath() const { return m_root / "notes.ini"; }
    std::filesystem::path DataDirectory() const { return m_root / "data"; }

    // Writes text into a file below the data directory, creating folders.
    void WriteDataFile(const std::string& relativePath, const std::string& text) const;
    // Marks the ID file as locked by another process.
    void LockIdFile() const;

  private:
    std::filesystem::path m_root; // the temporary folder, removed at the end
    std::string m_userName;       // the ID file's owner
};

// A path as UTF-8 text.
std::string PathText(const std::filesystem::path& path);

} // namespace korvo_test
