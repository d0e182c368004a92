// Directory listings, walks over directory trees and the removal of empty trees.
#include "rk/fs.h"

#include "path_text.h"

#include <vector>

namespace {

using RK::detail::PathText;

const WCHAR kCurrentDirectory[] = {WCHAR('.'), 0};

bool IsDotOrDotDot(const WCHAR* name) {
    return name[0] == WCHAR('.') && (name[1] == 0 || (name[1] == WCHAR('.') && name[2] == 0));
}

// The process's current directory, remembered to be made current again.
class SavedDirectory {
  public:
    SavedDirectory() {
        std::vector<WCHAR> path(platform::kMaxPath);
        uint32_t length = platform::GetCurrentDirectoryW(platform::kMaxPath, path.data());
        if (length >= platform::kMaxPath) {
            path.resize(length);
            length = platform::GetCurrentDirectoryW(length, path.data());
        }
        if (length != 0 && length < path.size())
            m_path.assign(path.data(), length);
    }

    // False when the current directory could not be read (nothing could restore it).
    bool IsKnown() const { return !m_path.empty(); }

    void Restore() const { platform::SetCurrentDirectoryW(m_path.c_str()); }

  private:
    PathText m_path; // the directory; empty when it could not be read
};

// Walks directory at depth: makes it current, hands each entry to visit and walks each one
// below it, then makes the previous directory current again.
template <typename Visit> void Walk(const WCHAR* directory, int depth, int* stop, Visit& visit) {
    const SavedDirectory saved;
    if (!saved.IsKnown() || !platform::SetCurrentDirectoryW(directory))
        return;
    RKDir listing;
    if (rk_fs_find_first(&listing, kCurrentDirectory) != 0) {
        do {
            visit(&listing, depth, stop);
            if (*stop != 0)
                break;
            if (!IsDotOrDotDot(listing.data.name))
                Walk(listing.data.name, depth + 1, stop, visit);
        } while (rk_fs_find_next(&listing) != 0);
        rk_fs_find_close(&listing);
    }
    saved.Restore();
}

} // namespace

int rk_fs_find_first(RKDir* dir, const WCHAR* path) {
    dir->handle = nullptr;
    dir->data.name[0] = 0;
    PathText pattern = path;
    if (pattern.empty() || !RK::detail::IsSeparator(pattern.back()))
        pattern += RK::detail::Separator();
    pattern += WCHAR('*');
    if (pattern.size() >= platform::kMaxPath)
        return 0;
    dir->handle = platform::FindFirstFileW(pattern.c_str(), &dir->data);
    if (dir->handle == nullptr) {
        dir->data.name[0] = 0;
        return 0;
    }
    return 1;
}

int rk_fs_find_next(RKDir* dir) {
    if (dir->handle != nullptr && platform::FindNextFileW(dir->handle, &dir->data))
        return 1;
    dir->data.name[0] = 0;
    return 0;
}

void rk_fs_find_close(RKDir* dir) {
    if (dir->handle == nullptr)
        return;
    platform::FindClose(dir->handle);
    dir->handle = nullptr;
}

void rk_fs_search(const WCHAR* root, RKSearchProc callback, void* context) {
    int stop = 0;
    auto visit = [callback, context](RKDir* entry, int depth, int* flag) {
        callback(entry, depth, flag, context);
    };
    Walk(root, 0, &stop, visit);
}

void rk_fs_rmdirs(const WCHAR* dir) {
    const SavedDirectory saved;
    if (!saved.IsKnown() || !platform::SetCurrentDirectoryW(dir))
        return;
    RKDir listing;
    if (rk_fs_find_first(&listing, kCurrentDirectory) != 0) {
        do {
            if (!IsDotOrDotDot(listing.data.name))
                rk_fs_rmdirs(listing.data.name);
        } while (rk_fs_find_next(&listing) != 0);
        rk_fs_find_close(&listing);
    }
    saved.Restore();
    platform::RemoveDirectoryW(dir);
}

namespace RK {

CSearchDir& CSearchDir::operator=(const CSearchDir&) {
    return *this;
}

void CSearchDir::Search(const WCHAR* root) {
    int stop = 0;
    auto visit = [this](RKDir* entry, int depth, int* flag) { _Search(entry, depth, flag, this); };
    Walk(root, 0, &stop, visit);
}

void CSearchDir::_Search(const RKDir* entry, int depth, int* stop, void* self) {
    static_cast<CSearchDir*>(self)->OnFound(entry, depth, stop);
}

} // namespace RK
