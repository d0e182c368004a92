// The database files read so far, so an unchanged file is not parsed again.
#pragma once

#include "model.h"
#include "notesapi.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace notesrt {

// Database models by file. A file is parsed again only when its size or modification time
// changed since it was last read, so files edited between opens are seen anew; the file's text
// is not kept. A file modified so shortly before it was read that a later change could carry
// the same modification time is read again at its next open, and one whose stamp changed is
// read again too; either is parsed only when its text's hash differs from the model's (a
// write of this process, or of another that wrote the same text, is not parsed again).
class DatabaseFiles {
  public:
    // The model of file in *db (shared with other opens of the same unchanged file). Fails with
    // kErrFileNotFound when there is no such file or it cannot be read and kErrDatabaseDamaged
    // when it is not a database; the status detail names the file and the problem. Never
    // writes the file.
    STATUS Open(const std::filesystem::path& file, std::shared_ptr<Model>& db);

    // The model of file when one is known for a text of size bytes and that hash (see
    // FileLayout); else null.
    std::shared_ptr<Model> Known(const std::filesystem::path& file, uint64_t size,
                                 uint64_t hash) const;

    // Takes db, read from or just written to file, as file's model.
    void Remember(const std::filesystem::path& file, std::shared_ptr<Model> db);

    // Forgets every file.
    void Clear() { m_entries.clear(); }

  private:
    // One file as last read.
    struct Entry {
        uint64_t size = 0;         // its size then
        int64_t modified = 0;      // its modification time then, in ns since 1970 (os.h)
        bool settled = false;      // modified well before it was read
        std::shared_ptr<Model> db; // the model parsed from it
    };

    std::map<std::string, Entry> m_entries; // by the file's absolute path
};

} // namespace notesrt
