// The database files read so far.
#include "dbfiles.h"

#include "dbload.h"
#include "status.h"

#include <fstream>
#include <sstream>

namespace notesrt {

STATUS DatabaseFiles::Open(const std::filesystem::path& file, std::shared_ptr<Database>& db) {
    const std::string name = file.u8string();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return Fail(kErrFileNotFound, name);
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    if (!stream)
        return Fail(kErrFileNotFound, name + ": cannot be read");
    const std::string key = std::filesystem::absolute(file, error).lexically_normal().u8string();
    auto found = m_entries.find(key);
    if (found != m_entries.end() && found->second.content == content.str()) {
        db = found->second.db;
        return 0;
    }
    auto parsed = std::make_shared<Database>();
    std::string problem;
    if (!ParseDatabase(content.str(), *parsed, problem))
        return Fail(kErrDatabaseDamaged, name + ": " + problem);
    m_entries[key] = Entry{content.str(), parsed};
    db = parsed;
    return 0;
}

} // namespace notesrt
