#include "platform/fs.h"

#include "platform/errors.h"

#include "codec.h"
#include "errno_map.h"
#include "text.h"

#include "platform/codepage.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace platform {
namespace {

constexpr uint32_t kErrorBufferOverflow = 111;      // ERROR_BUFFER_OVERFLOW: the folder is too long
constexpr uint32_t kErrorFileExists = 80;           // ERROR_FILE_EXISTS: every number is taken
constexpr size_t kMaxTempDirectory = kMaxPath - 14; // leaves room for the name and the NUL
constexpr size_t kPrefixCharacters = 3;             // of the prefix, as GetTempFileName takes it
constexpr uint32_t kUniqueNumbers = 0x10000;        // names use 16-bit numbers, never 0

// The temporary directory with a trailing '/', in UTF-8.
std::string TempDirectoryUtf8() {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string dir = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
    if (dir.back() != '/')
        dir.push_back('/');
    return dir;
}

// The next number to try; process-wide, starting from a value that differs between runs.
uint32_t NextUniqueNumber() {
    static std::atomic<uint32_t> counter{static_cast<uint32_t>(std::time(nullptr)) ^
                                         static_cast<uint32_t>(getpid() << 4)};
    uint32_t number;
    do {
        number = counter.fetch_add(1) % kUniqueNumbers;
    } while (number == 0);
    return number;
}

// Creates <dir><prefix><hex>.tmp exclusively and sets *path to it. Returns the number used,
// or 0 with the last error set.
uint32_t CreateTempFile(const detail::WideString& dir, const detail::WideString& prefix,
                        detail::WideString* path) {
    if (dir.empty() || dir.size() > kMaxTempDirectory) {
        SetLastError(dir.empty() ? kErrorInvalidParameter : kErrorBufferOverflow);
        return 0;
    }
    detail::WideString base = dir;
    if (base.back() != u'/')
        base.push_back(u'/');
    base += prefix.substr(0, kPrefixCharacters);
    for (uint32_t attempt = 1; attempt < kUniqueNumbers; ++attempt) {
        const uint32_t number = NextUniqueNumber();
        char name[16];
        std::snprintf(name, sizeof name, "%X.tmp", number);
        const detail::WideString candidate = base + detail::Utf8ToWide(name);
        const int fd = open(detail::WideToUtf8(candidate.data(), candidate.size()).c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            *path = candidate;
            return number;
        }
        if (errno != EEXIST) {
            detail::SetLastErrorFromErrno();
            return 0;
        }
    }
    SetLastError(kErrorFileExists);
    return 0;
}

// The UTF-16 form of ANSI text; empty for null.
detail::WideString AnsiToWide(const char* text) {
    detail::WideString wide;
    if (text != nullptr)
        detail::Decode(detail::ResolveCodePage(kCodePageAnsi), text, false, &wide);
    return wide;
}

} // namespace

uint32_t GetTempPathA(uint32_t len, char* buf) {
    return detail::CopyToBuffer(detail::Utf8ToAnsi(TempDirectoryUtf8()), len, buf);
}

uint32_t GetTempPathW(uint32_t len, WCHAR* buf) {
    return detail::CopyToBuffer(detail::Utf8ToWide(TempDirectoryUtf8()), len, buf);
}

uint32_t GetTempFileNameA(const char* dir, const char* prefix, char* out) {
    if (!detail::CheckPath(dir) || !detail::CheckPath(out))
        return 0;
    detail::WideString path;
    const uint32_t number = CreateTempFile(AnsiToWide(dir), AnsiToWide(prefix), &path);
    if (number == 0)
        return 0;
    std::string ansi;
    detail::Encode(detail::ResolveCodePage(kCodePageAnsi), path.data(), path.size(), false, &ansi,
                   nullptr);
    if (ansi.size() >= kMaxPath) { // a multibyte ANSI page can make the name too long
        unlink(detail::WideToUtf8(path.data(), path.size()).c_str());
        SetLastError(kErrorBufferOverflow);
        return 0;
    }
    detail::CopyToBuffer(ansi, kMaxPath, out);
    return number;
}

} // namespace platform
