// The temporary directory and temporary file names.
#include "rk/fs.h"

#include "path_text.h"

#include "platform/process.h"

#include <atomic>
#include <cstdint>
#include <ctime>

namespace {

using RK::detail::PathText;

constexpr int kCreateAttempts = 32;

// The platform's temporary directory, read on first use.
struct TempDirectory {
    WCHAR text[platform::kMaxPath] = {}; // the path, empty when it could not be read

    TempDirectory() {
        if (platform::GetTempPathW(platform::kMaxPath, text) >= platform::kMaxPath)
            text[0] = 0;
    }
};

// The process-wide number that makes temporary names differ; starts from the clock.
std::atomic<uint32_t>& NameCounter() {
    static std::atomic<uint32_t> counter{static_cast<uint32_t>(
        (static_cast<uint64_t>(std::clock()) + static_cast<uint64_t>(std::time(nullptr))) &
        0xFFFF)};
    return counter;
}

void AppendHex(PathText& text, uint32_t value) {
    PathText digits;
    do {
        digits.insert(digits.begin(), static_cast<WCHAR>("0123456789abcdef"[value & 0xF]));
        value >>= 4;
    } while (value != 0);
    text += digits;
}

// Writes the name for counter into out; its length, or -1 (out empty) when it does not fit.
int WriteName(WCHAR* out, const WCHAR* dir, const WCHAR* prefix, uint32_t counter) {
    PathText name = dir;
    if (!name.empty() && !RK::detail::IsSeparator(name.back()))
        name += RK::detail::Separator();
    name += prefix;
    AppendHex(name, platform::GetCurrentProcessId());
    AppendHex(name, counter);
    for (const char* c = ".tmp"; *c != '\0'; ++c)
        name += static_cast<WCHAR>(*c);
    if (name.size() >= platform::kMaxPath) {
        out[0] = 0;
        return -1;
    }
    name.copy(out, name.size());
    out[name.size()] = 0;
    return static_cast<int>(name.size());
}

} // namespace

const WCHAR* rk_fs_tmppath() {
    static const TempDirectory directory;
    return directory.text;
}

int rk_fs_tmpfile(WCHAR* out, const WCHAR* dir, const WCHAR* prefix, int create) {
    if (dir == nullptr)
        dir = rk_fs_tmppath();
    if (prefix == nullptr)
        prefix = KORVO_W("");
    std::atomic<uint32_t>& counter = NameCounter();
    if (create == 0)
        return WriteName(out, dir, prefix, counter.fetch_add(1) + 1);
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const int length = WriteName(out, dir, prefix, counter.load());
        if (length < 0 || platform::CreateNewFileW(out))
            return length;
        counter.fetch_add(1);
    }
    return 0;
}
