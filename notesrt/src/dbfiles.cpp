// The database files read so far.
#include "dbfiles.h"

#include "dbload.h"
#include "status.h"

#include <chrono>
#include <fstream>

namespace notesrt {
namespace {

// How long after a change a file's modification time can still be shared by a further change:
// longer than the granularity of the file systems' clocks.
constexpr std::chrono::milliseconds kTimeGranularity{100};

} // namespace

STATUS DatabaseFiles::Open(const std::filesystem::path& file, std::shared_ptr<Model>& db) {
    const std::string name = file.u8string();
    const auto readAt = std::filesystem::file_time_type::clock::now();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return Fail(kErrFileNotFound, name);
    std::error_code sizeError;
    std::error_code timeError;
    const uintmax_t size = std::filesystem::file_size(file, sizeError);
    const auto modified = std::filesystem::last_write_time(file, timeError);
    std::ifstream stream(file, std::ios::binary);
    if (sizeError || timeError || !stream)
        return Fail(kErrFileNotFound, name + ": cannot be read");
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
    m_entries[key] = Entry{size, modified, modified + kTimeGranularity < readAt, parsed};
    db = parsed;
    return 0;
}

} // namespace notesrt
