#include "platform/fs.h"

#include "platform/errors.h"

#include "errno_map.h"
#include "text.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace platform {
namespace {

constexpr uint32_t kErrorAlreadyExists = 183; // ERROR_ALREADY_EXISTS, as CreateDirectory says

bool PathExistsUtf8(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool CreateDirectoryUtf8(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0)
        return true;
    if (errno == EEXIST)
        SetLastError(kErrorAlreadyExists);
    else
        detail::SetLastErrorFromErrno();
    return false;
}

bool RemoveDirectoryUtf8(const std::string& path) {
    if (rmdir(path.c_str()) == 0)
        return true;
    detail::SetLastErrorFromErrno();
    return false;
}

bool SetCurrentDirectoryUtf8(const std::string& path) {
    if (chdir(path.c_str()) == 0)
        return true;
    detail::SetLastErrorFromErrno();
    return false;
}

// The current directory in UTF-8; false (last error set) when it cannot be read.
bool CurrentDirectoryUtf8(std::string* path) {
    std::string buffer(256, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            detail::SetLastErrorFromErrno();
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    *path = std::move(buffer);
    return true;
}

// Describes the entry name of the open directory dir.
DirectoryEntry Describe(DIR* dir, const char* name) {
    struct stat info {};
    if (fstatat(dirfd(dir), name, &info, 0) != 0)
        fstatat(dirfd(dir), name, &info, AT_SYMLINK_NOFOLLOW);
    const bool isDirectory = S_ISDIR(info.st_mode);
    return DirectoryEntry{detail::Utf8ToWide(name), isDirectory,
                          isDirectory ? 0 : static_cast<uint64_t>(info.st_size)};
}

} // namespace

bool PathExistsA(const char* path) {
    return path != nullptr && PathExistsUtf8(detail::AnsiToUtf8(path));
}

bool PathExistsW(const WCHAR* path) {
    return path != nullptr && PathExistsUtf8(detail::WideToUtf8(path));
}

bool CreateDirectoryA(const char* path) {
    return detail::CheckPath(path) && CreateDirectoryUtf8(detail::AnsiToUtf8(path));
}

bool CreateDirectoryW(const WCHAR* path) {
    return detail::CheckPath(path) && CreateDirectoryUtf8(detail::WideToUtf8(path));
}

bool RemoveDirectoryA(const char* path) {
    return detail::CheckPath(path) && RemoveDirectoryUtf8(detail::AnsiToUtf8(path));
}

bool RemoveDirectoryW(const WCHAR* path) {
    return detail::CheckPath(path) && RemoveDirectoryUtf8(detail::WideToUtf8(path));
}

bool ListDirectoryW(const WCHAR* dir, std::vector<DirectoryEntry>* entries) {
    if (!detail::CheckPath(dir) || !detail::CheckPath(entries))
        return false;
    DIR* listing = opendir(detail::WideToUtf8(dir).c_str());
    if (listing == nullptr) {
        detail::SetLastErrorFromErrno();
        return false;
    }
    entries->clear();
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            entries->push_back(Describe(listing, entry->d_name));
    }
    closedir(listing);
    std::sort(entries->begin(), entries->end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return true;
}

uint32_t GetCurrentDirectoryA(uint32_t len, char* buf) {
    std::string path;
    return CurrentDirectoryUtf8(&path) ? detail::CopyToBuffer(detail::Utf8ToAnsi(path), len, buf)
                                       : 0;
}

uint32_t GetCurrentDirectoryW(uint32_t len, WCHAR* buf) {
    std::string path;
    return CurrentDirectoryUtf8(&path) ? detail::CopyToBuffer(detail::Utf8ToWide(path), len, buf)
                                       : 0;
}

bool SetCurrentDirectoryA(const char* path) {
    return detail::CheckPath(path) && SetCurrentDirectoryUtf8(detail::AnsiToUtf8(path));
}

bool SetCurrentDirectoryW(const WCHAR* path) {
    return detail::CheckPath(path) && SetCurrentDirectoryUtf8(detail::WideToUtf8(path));
}

char PathSeparator() {
    return '/';
}

} // namespace platform
