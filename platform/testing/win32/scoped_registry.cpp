// Registry fixtures on Windows: real keys under HKEY_CURRENT_USER, written through advapi32.
//
// Every key a fixture creates is deleted with its subtree when the fixture ends, and every
// value it overwrites in a key that was there before is put back (or removed again when it did
// not exist). The registry is shared by every process of the user, so a fixture holds a named
// mutex from construction to destruction: test executables that ctest runs side by side take
// turns instead of seeing each other's keys. Construct and destroy a fixture on one thread
// (mutex ownership belongs to a thread).
//
// HKEY_CURRENT_USER\Software is one key in both registry views on 64-bit Windows, so a value
// set with onlyView Force64 or Force32 is written like one set with Default and is seen in all
// three views; only the POSIX store can limit a key to one view.
#include "../../win32/windows_api.h"

#include "platform/testing/scoped_registry.h"

#include <stdexcept>
#include <vector>

namespace platform::testing {
namespace {

constexpr wchar_t kMutexName[] = L"Local\\KorvoLotusC.ScopedRegistry";

std::wstring WideOf(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), units);
    return wide;
}

void ThrowUnless(LONG result, const char* what, const std::string& keyPath) {
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed for HKEY_CURRENT_USER\\" + keyPath +
                                 " (error " + std::to_string(result) + ")");
}

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// The shortest leading part of path (whole components) that does not exist yet, or an empty
// text when the whole key exists.
std::wstring FirstMissingKey(const std::wstring& path) {
    size_t end = 0;
    while (end != std::wstring::npos) {
        end = path.find(L'\\', end + 1);
        const std::wstring prefix = path.substr(0, end);
        if (!KeyExists(prefix))
            return prefix;
    }
    return {};
}

// A value as it was before the fixture changed it.
struct SavedValue {
    std::wstring keyPath;    // the key, below HKEY_CURRENT_USER
    std::wstring name;       // the value's name
    bool existed = false;    // false when the value was absent
    DWORD type = REG_NONE;   // its type, when it existed
    std::vector<BYTE> bytes; // its data, when it existed
};

SavedValue ReadSavedValue(HKEY key, const std::wstring& keyPath, const std::wstring& name) {
    SavedValue saved;
    saved.keyPath = keyPath;
    saved.name = name;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &saved.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return saved;
    saved.bytes.resize(size);
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &saved.type, saved.bytes.data(), &size) !=
        ERROR_SUCCESS)
        return saved;
    saved.bytes.resize(size);
    saved.existed = true;
    return saved;
}

void Restore(const SavedValue& saved) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, saved.keyPath.c_str(), 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    if (saved.existed)
        ::RegSetValueExW(key, saved.name.c_str(), 0, saved.type, saved.bytes.data(),
                         static_cast<DWORD>(saved.bytes.size()));
    else
        ::RegDeleteValueW(key, saved.name.c_str());
    ::RegCloseKey(key);
}

} // namespace

struct ScopedRegistry::Impl {
    HANDLE turn = nullptr;                 // the named mutex, owned while the fixture lives
    std::vector<std::wstring> createdKeys; // topmost keys this fixture created, in order
    std::vector<SavedValue> savedValues;   // values of existing keys, before each change
};

ScopedRegistry::ScopedRegistry() : m_impl(std::make_unique<Impl>()) {
    m_impl->turn = ::CreateMutexW(nullptr, FALSE, kMutexName);
    if (m_impl->turn == nullptr)
        throw std::runtime_error("cannot create the registry fixture's mutex");
    const DWORD waited = ::WaitForSingleObject(m_impl->turn, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        ::CloseHandle(m_impl->turn);
        throw std::runtime_error("cannot take the registry fixture's mutex");
    }
}

ScopedRegistry::~ScopedRegistry() {
    for (auto saved = m_impl->savedValues.rbegin(); saved != m_impl->savedValues.rend(); ++saved)
        Restore(*saved);
    for (auto key = m_impl->createdKeys.rbegin(); key != m_impl->createdKeys.rend(); ++key)
        ::RegDeleteTreeW(HKEY_CURRENT_USER, key->c_str());
    ::ReleaseMutex(m_impl->turn);
    ::CloseHandle(m_impl->turn);
}

void ScopedRegistry::SetValue(const std::string& keyPathUtf8, const std::string& nameUtf8,
                              const std::basic_string<WCHAR>& value, RegistryView) {
    if (value.find_first_of(L"\r\n") != std::wstring::npos ||
        nameUtf8.find_first_of("\r\n") != std::string::npos)
        throw std::runtime_error("the registry fixture takes no line break in " + nameUtf8);

    const std::wstring keyPath = WideOf(keyPathUtf8);
    const std::wstring name = WideOf(nameUtf8);
    const std::wstring missing = FirstMissingKey(keyPath);

    HKEY key = nullptr;
    ThrowUnless(::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr),
                "RegCreateKeyExW", keyPathUtf8);
    if (!missing.empty())
        m_impl->createdKeys.push_back(missing);
    else
        m_impl->savedValues.push_back(ReadSavedValue(key, keyPath, name));

    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR));
    const LONG result = ::RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                         reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    ::RegCloseKey(key);
    ThrowUnless(result, "RegSetValueExW", keyPathUtf8);
}

void ScopedRegistry::SetValue(const std::string& keyPathUtf8, const std::string& nameUtf8,
                              const std::string& valueUtf8, RegistryView onlyView) {
    SetValue(keyPathUtf8, nameUtf8, WideOf(valueUtf8), onlyView);
}

} // namespace platform::testing
