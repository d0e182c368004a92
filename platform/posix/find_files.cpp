// Directory searches in the manner of FindFirstFile: the names of a directory are read once
// when the search starts, sorted, and described one at a time as the caller steps through them.
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
#include <cstring>
#include <string>
#include <vector>

namespace platform {

// An open search: the directory and the names still to be handed out.
struct FindObject {
    int directory;                  // descriptor of the directory searched, owned
    std::vector<std::string> names; // the matching names in the order they are handed out
    size_t next;                    // index of the next name to hand out
};

namespace {

constexpr uint32_t kErrorNoMoreFiles = 18;             // ERROR_NO_MORE_FILES
constexpr uint64_t kUnixEpochAsFileTime = 11644473600; // seconds from 1601 to 1970
constexpr uint64_t kFileTimeUnitsPerSecond = 10000000; // 100-nanosecond units

// True when name matches pattern, where '*' stands for any run of units and '?' for one.
bool MatchesWildcards(const WCHAR* pattern, const WCHAR* name) {
    const WCHAR* star = nullptr;   // the last '*' seen in pattern
    const WCHAR* resume = nullptr; // where name goes on when that '*' takes one more unit
    while (*name != 0) {
        if (*pattern == u'*') {
            star = pattern++;
            resume = name;
        } else if (*pattern != 0 && (*pattern == u'?' || *pattern == *name)) {
            ++pattern;
            ++name;
        } else if (star != nullptr) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == u'*')
        ++pattern;
    return *pattern == 0;
}

// "." and ".." first, then the other names in byte order.
bool ListedBefore(const std::string& a, const std::string& b) {
    const auto rank = [](const std::string& name) {
        return name == "." ? 0 : name == ".." ? 1 : 2;
    };
    if (rank(a) != rank(b))
        return rank(a) < rank(b);
    return a < b;
}

FILETIME ToFileTime(const timespec& time) {
    const uint64_t units =
        (static_cast<uint64_t>(time.tv_sec) + kUnixEpochAsFileTime) * kFileTimeUnitsPerSecond +
        static_cast<uint64_t>(time.tv_nsec) / 100;
    FILETIME result;
    result.dwLowDateTime = static_cast<uint32_t>(units);
    result.dwHighDateTime = static_cast<uint32_t>(units >> 32);
    return result;
}

// Fills *data for the entry name of the directory open as fd.
void Describe(int fd, const std::string& name, FindDataW* data) {
    *data = FindDataW{};
    struct stat info {};
    if (fstatat(fd, name.c_str(), &info, 0) != 0)
        fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW);
    if (S_ISDIR(info.st_mode))
        data->attributes |= kFileAttributeDirectory;
    if ((info.st_mode & S_IWUSR) == 0)
        data->attributes |= kFileAttributeReadOnly;
    if (data->attributes == 0)
        data->attributes = kFileAttributeNormal;
    data->creationTime = ToFileTime(info.st_ctim);
    data->lastAccessTime = ToFileTime(info.st_atim);
    data->lastWriteTime = ToFileTime(info.st_mtim);
    if (!S_ISDIR(info.st_mode)) {
        const auto size = static_cast<uint64_t>(info.st_size);
        data->sizeHigh = static_cast<uint32_t>(size >> 32);
        data->sizeLow = static_cast<uint32_t>(size);
    }
    const detail::WideString wide = detail::Utf8ToWide(name);
    const size_t units = std::min<size_t>(wide.size(), kMaxPath - 1);
    std::copy_n(wide.begin(), units, data->name);
    data->name[units] = 0;
}

// Reads the names of the directory open as fd that match pattern.
std::vector<std::string> MatchingNames(int fd, const detail::WideString& pattern) {
    std::vector<std::string> names;
    const int listingFd = dup(fd);
    DIR* listing = listingFd >= 0 ? fdopendir(listingFd) : nullptr;
    if (listing == nullptr) {
        if (listingFd >= 0)
            close(listingFd);
        return names;
    }
    while (const dirent* entry = readdir(listing)) {
        if (MatchesWildcards(pattern.c_str(), detail::Utf8ToWide(entry->d_name).c_str()))
            names.push_back(entry->d_name);
    }
    closedir(listing);
    std::sort(names.begin(), names.end(), ListedBefore);
    return names;
}

} // namespace

FindHandle FindFirstFileW(const WCHAR* pattern, FindDataW* data) {
    if (!detail::CheckPath(pattern) || !detail::CheckPath(data))
        return nullptr;
    const detail::WideString path = pattern;
    const size_t slash = path.rfind(u'/');
    std::string directory = ".";
    if (slash != detail::WideString::npos)
        directory = slash == 0 ? "/" : detail::WideToUtf8(path.data(), slash);
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        // A missing folder is a path, not a file, that was not found, as Windows says.
        const uint32_t error =
            errno == ENOENT ? detail::kErrorPathNotFound : detail::Win32ErrorFromErrno(errno);
        SetLastError(error);
        return nullptr;
    }
    auto* search = new FindObject{fd, MatchingNames(fd, path.substr(slash + 1)), 0};
    if (!FindNextFileW(search, data)) {
        FindClose(search);
        SetLastError(kErrorFileNotFound);
        return nullptr;
    }
    return search;
}

bool FindNextFileW(FindHandle search, FindDataW* data) {
    if (search == nullptr || data == nullptr) {
        SetLastError(search == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter);
        return false;
    }
    if (search->next >= search->names.size()) {
        SetLastError(kErrorNoMoreFiles);
        return false;
    }
    Describe(search->directory, search->names[search->next++], data);
    return true;
}

void FindClose(FindHandle search) {
    if (search == nullptr)
        return;
    close(search->directory);
    delete search;
}

} // namespace platform
