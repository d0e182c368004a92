// The database files read so far, so an unchanged file is not parsed again.
#pragma once

#include "database.h"
#include "notesapi.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace notesrt {

// Database models by file. A file is read at every open; it is parsed again only when its
// content changed since it was last read, so files edited between opens are seen anew.
class DatabaseFiles {
  public:
    // Reads file into *db (shared with other opens of the same unchanged file). Fails with
    // kErrFileNotFound when there is no such file and kErrDatabaseDamaged when it is not a
    // database; the status detail names the file and the problem. Never writes the file.
    STATUS Open(const std::filesystem::path& file, std::shared_ptr<Database>& db);

    // Forgets every file.
    void Clear() { m_entries.clear(); }

  private:
    // One file as last read.
    struct Entry {
        std::string content;          // the file's bytes
        std::shared_ptr<Database> db; // the model parsed from them
    };

    std::map<std::string, Entry> m_entries; // by the file's absolute path
};

} // namespace notesrt
