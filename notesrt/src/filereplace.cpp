// Writing a file through a flushed temporary file and a rename.
#include "filereplace.h"

#include "faults.h"
#include "os.h"
#include "status.h"

#include <cstdio>
#include <random>

namespace notesrt {
namespace {

// A name beside file that no other writer picks: file's name, a random number, ".tmp".
std::filesystem::path TemporaryName(const std::filesystem::path& file) {
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%016llX.tmp", static_cast<unsigned long long>(random()));
    std::filesystem::path name = file;
    name += suffix;
    return name;
}

} // namespace

STATUS ReplaceFileContent(const std::filesystem::path& file,
                          std::initializer_list<std::string_view> content, bool& replaced) {
    replaced = false;
    const std::filesystem::path temporary = TemporaryName(file);
    bool created = false;
    const char* failed = nullptr;
    {
        NewFile out;
        bool written = !StepRefused("FileWrite") && (created = out.Create(temporary));
        for (const std::string_view piece : content)
            written = written && out.Write(piece);
        if (!written)
            failed = "cannot be written";
        else if (StepRefused("FileFlush") || !out.Flush())
            failed = "cannot be flushed to the disk";
    }
    if (failed == nullptr && (StepRefused("FileRename") || !ReplaceFileWith(temporary, file)))
        failed = "cannot be replaced";
    if (failed != nullptr) {
        std::error_code error;
        if (created)
            std::filesystem::remove(temporary, error);
        return Fail(kErrCannotWriteFile, file.u8string() + ": " + failed);
    }
    replaced = true;
    if (StepRefused("FolderFlush") || !FlushFolder(file.parent_path()))
        return Fail(kErrCannotWriteFile,
                    file.u8string() + ": replaced, but its folder cannot be flushed to the disk");
    return 0;
}

} // namespace notesrt
