// Writing a file through a temporary file and a rename.
#include "filereplace.h"

#include "os.h"
#include "status.h"

#include <cstdio>
#include <fstream>
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

STATUS ReplaceFileContent(const std::filesystem::path& file, const std::string& content) {
    const std::filesystem::path temporary = TemporaryName(file);
    std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
    stream.write(content.data(), static_cast<std::streamsize>(content.size()));
    stream.close();
    if (stream && ReplaceFileWith(temporary, file))
        return 0;
    std::error_code error;
    std::filesystem::remove(temporary, error);
    return Fail(kErrCannotWriteFile, file.u8string());
}

} // namespace notesrt
