// Directory searches through FindFirstFileW. A search handle is handed out as a FindHandle;
// FindDataW has the layout of WIN32_FIND_DATAW, so entries are copied across unchanged.
#include "windows_api.h"

#include "platform/fs.h"

#include <cstddef>
#include <cstring>

namespace platform {
namespace {

static_assert(sizeof(FindDataW) == sizeof(WIN32_FIND_DATAW), "FindDataW mirrors WIN32_FIND_DATAW");
static_assert(offsetof(FindDataW, name) == offsetof(WIN32_FIND_DATAW, cFileName),
              "FindDataW mirrors WIN32_FIND_DATAW");
static_assert(offsetof(FindDataW, alternateName) == offsetof(WIN32_FIND_DATAW, cAlternateFileName),
              "FindDataW mirrors WIN32_FIND_DATAW");

HANDLE ToHandle(FindHandle search) {
    return reinterpret_cast<HANDLE>(search);
}

} // namespace

FindHandle FindFirstFileW(const WCHAR* pattern, FindDataW* data) {
    if (pattern == nullptr || data == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return nullptr;
    std::memcpy(data, &found, sizeof found);
    return reinterpret_cast<FindHandle>(search);
}

bool FindNextFileW(FindHandle search, FindDataW* data) {
    if (search == nullptr || data == nullptr) {
        ::SetLastError(search == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return false;
    }
    WIN32_FIND_DATAW found;
    if (!::FindNextFileW(ToHandle(search), &found))
        return false;
    std::memcpy(data, &found, sizeof found);
    return true;
}

void FindClose(FindHandle search) {
    if (search != nullptr)
        ::FindClose(ToHandle(search));
}

} // namespace platform
