// Writing a file so that it is never seen half written.
#pragma once

#include "notesapi.h"

#include <filesystem>
#include <string>

namespace notesrt {

// Replaces the content of file with content: writes a temporary file in file's folder, then
// renames it over file in one step. On failure file is as it was, the temporary file is
// removed, and kErrCannotWriteFile is returned with file's name in its detail. Called under
// the runtime's lock, which also guards the choice of temporary names.
STATUS ReplaceFileContent(const std::filesystem::path& file, const std::string& content);

} // namespace notesrt
