// Registry fixtures for tests: the keys and values one test sets up, which
// RegOpenCurrentUserKey and RegQueryString then read.
//
// On POSIX the fixture writes a temporary store file and points $KORVO_REGISTRY at it; on
// Windows it writes keys under HKEY_CURRENT_USER. Either way the destructor removes what the
// fixture made and puts back what it replaced. One fixture at a time per process.
#pragma once

#include "platform/registry.h"
#include "platform/wintypes.h"

#include <memory>
#include <string>

namespace platform::testing {

class ScopedRegistry {
  public:
    ScopedRegistry();
    ~ScopedRegistry();
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

    // Sets the string value nameUtf8 of HKEY_CURRENT_USER\keyPathUtf8 (for example
    // "Software\\Vendra Systems, Inc.\\MeetingIntegration"), creating the key. With onlyView
    // Force64 or Force32 the key is seen only when opened in that view; with Default, in all
    // views. Throws std::runtime_error when the value cannot be stored (a line break in it
    // included).
    void SetValue(const std::string& keyPathUtf8, const std::string& nameUtf8,
                  const std::basic_string<WCHAR>& value,
                  RegistryView onlyView = RegistryView::Default);
    void SetValue(const std::string& keyPathUtf8, const std::string& nameUtf8,
                  const std::string& valueUtf8, RegistryView onlyView = RegistryView::Default);

#if !defined(_WIN32)
    // Replaces the store file's text with text, which need not be well-formed; values set
    // afterwards are written after it. Throws std::runtime_error when the file cannot be
    // written.
    void WriteRawStoreForTesting(const std::string& text);
#endif

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl; // the platform's record of what was made
};

} // namespace platform::testing
