// Reading and writing whole files.
#include "rk/fs.h"

#include "platform/errors.h"

int rk_fs_read(const WCHAR* path, RK::CStringT<char>& data) {
    const platform::UniqueFile file(platform::OpenFileW(path, platform::FileAccess::Read));
    if (!file)
        return 0;
    const int64_t size = platform::GetFileSize(file.Get());
    RK::CStringT<char> content(size < 0 ? 0 : static_cast<uint32_t>(size), '\0');
    uint32_t done = 0;
    platform::ReadFile(file.Get(), content.data(), static_cast<uint32_t>(content.size()), &done);
    data = std::move(content);
    return 1;
}

unsigned rk_fs_write(const WCHAR* path, const void* data, unsigned size) {
    // Opened for reading and writing so that an existing file is not truncated; a missing one
    // is made first.
    platform::UniqueFile file(platform::OpenFileW(path, platform::FileAccess::ReadWrite));
    if (!file && platform::GetLastError() == platform::kErrorFileNotFound) {
        platform::CreateNewFileW(path);
        file.Reset(platform::OpenFileW(path, platform::FileAccess::ReadWrite));
    }
    if (!file)
        return 0;
    return platform::WriteFile(file.Get(), data, size) ? size : 0;
}
