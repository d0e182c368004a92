// Writing a file so that it is never seen half written and survives a power loss.
#pragma once

#include "notesapi.h"

#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace notesrt {

// Replaces the content of file with content, the pieces one after the other: writes a temporary
// file in file's folder and flushes it to the disk, renames it over file in one step, then flushes
// the folder, so that file holds its old content or the new one whatever happens, and the new one
// once this returns 0. On failure kErrCannotWriteFile is returned with file's name and the step
// that failed in its detail; replaced tells whether file holds the new content all the same (only
// the folder's flush failed), else file is as it was and the temporary file is removed. Each
// step can be refused by the fault plan (StepRefused): FileWrite, FileFlush, FileRename,
// FolderFlush. Called under the runtime's lock, which also guards the choice of temporary
// names.
STATUS ReplaceFileContent(const std::filesystem::path& file,
                          std::initializer_list<std::string_view> content, bool& replaced);

} // namespace notesrt
