// The folder of one fuzz process for the files it writes per input (notes.ini, ID files,
// database files, the registry store). It lies in memory-backed /dev/shm when there is one, so
// that writing a file for every input costs no disk writes, else in the temporary directory,
// and is removed with the object. Every failure to set it up aborts: a fuzz run without its
// files would test nothing.
#pragma once

#include "notesapi.h"

#include <filesystem>
#include <string>

namespace korvo_fuzz {

class ScratchFolder {
  public:
    // Makes a new folder whose name starts with "korvo-fuzz-" and name.
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Root() const { return m_root; }

    // Replaces the file at relative (below the folder) with content, byte for byte, making
    // the folders on its way.
    void Write(const std::string& relative, const std::string& content) const;

    // Resets the runtime (NotesrtReset) and starts it on the folder's notes.ini, the folder
    // being the program directory. Returns NotesInitExtended's status.
    STATUS StartRuntime() const;

  private:
    std::filesystem::path m_root; // the folder, removed by the destructor
};

// True when the runtime holds no handle, memory block, lock, MIME directory or schedule.
bool RuntimeHoldsNothing();

} // namespace korvo_fuzz
