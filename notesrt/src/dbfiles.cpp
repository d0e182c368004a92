// The database files read so far.
#include "dbfiles.h"

#include "dbload.h"
#include "os.h"
#include "parseinput.h"
#include "status.h"

#include <fstream>

namespace notesrt {
namespace {

// How long after a change a file's modification time can still be shared by a further change:
// longer than the granularity of the file systems' clocks.
constexpr int64_t kTimeGranularityNs = 100'000'000;

std::string KeyOf(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::absolute(file, error).lexically_normal().u8string();
}

// The size and hash of what stream holds from where it stands; it is left at its end.
void MeasureStream(std::istream& stream, uint64_t& size, uint64_t& hash) {
    TextHash text;
    size = 0;
    char piece[1 << 16];
    while (stream.read(piece, sizeof piece) || stream.gcount() > 0) {
        const auto length = static_cast<size_t>(stream.gcount());
        text.Add(std::string_view(piece, length));
        size += length;
    }
    hash = text.Value();
}

} // namespace

STATUS DatabaseFiles::Open(const std::filesystem::path& file, std::shared_ptr<Model>& db) {
    const std::string name = file.u8string();
    const int64_t readAt = FileClockNow();
    uint64_t size = 0;
    int64_t modified = 0;
    if (!FileStampOf(file, size, modified))
        return Fail(kErrFileNotFound, name);
    std::ifstream stream;
    if (!OpenToRead(file, stream))
        return Fail(kErrFileNotFound, name + ": cannot be read");
    const std::string key = KeyOf(file);
    auto found = m_entries.find(key);
    if (found != m_entries.end()) {
        Entry& known = found->second;
        if (known.settled && known.size == size && known.modified == modified) {
            db = known.db;
            return 0;
        }
        uint64_t length = 0;
        uint64_t hash = 0;
        MeasureStream(stream, length, hash);
        if (length == known.db->layout.size && hash == known.db->layout.hash) {
            known = Entry{size, modified, modified + kTimeGranularityNs < readAt, known.db};
            db = known.db;
            return 0;
        }
        stream.clear();
        stream.seekg(0);
    }
    auto parsed = std::make_shared<Model>();
    parsed->Reserve(static_cast<size_t>(size));
    std::string problem;
    if (!LoadModel(stream, *parsed, problem))
        return Fail(kErrDatabaseDamaged, name + ": " + problem);
    m_entries[key] = Entry{size, modified, modified + kTimeGranularityNs < readAt, parsed};
    db = parsed;
    return 0;
}

std::shared_ptr<Model> DatabaseFiles::Known(const std::filesystem::path& file, uint64_t size,
                                            uint64_t hash) const {
    const auto found = m_entries.find(KeyOf(file));
    if (found == m_entries.end() || found->second.db->layout.size != size ||
        found->second.db->layout.hash != hash)
        return nullptr;
    return found->second.db;
}

void DatabaseFiles::Remember(const std::filesystem::path& file, std::shared_ptr<Model> db) {
    Entry entry;
    entry.db = std::move(db);
    // A stamp that matches no file: the next open measures the file against the model.
    m_entries[KeyOf(file)] = std::move(entry);
}

} // namespace notesrt
