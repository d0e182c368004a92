// The database files read so far.
#include "dbfiles.h"

#include "dbload.h"
#include "os.h"
#include "status.h"

#include <fstream>

namespace notesrt {
namespace {

// How long after a change a file's modification time can still be shared by a further change:
// longer than the granularity of the file systems' clocks.
constexpr int64_t kTimeGranularityNs = 100'000'000;

} // namespace

STATUS DatabaseFiles::Open(const std::filesystem::path& file, std::shared_ptr<Model>& db) {
    const std::string name = file.u8string();
    const int64_t readAt = FileClockNow();
    uint64_t size = 0;
    int64_t modified = 0;
    if (!FileStampOf(file, size, modified))
        return Fail(kErrFileNotFound, name);
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        return Fail(kErrFileNotFound, name + ": cannot be read");
    std::error_code error;
    const std::string key = std::filesystem::absolute(file, error).lexically_normal().u8string();
    auto found = m_entries.find(key);
    if (found != m_entries.end() && found->second.settled && found->second.size == size &&
        found->second.modified == modified) {
        db = found->second.db;
        return 0;
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

} // namespace notesrt
