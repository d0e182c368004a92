// Sets an environment variable for one scope and restores its previous state afterwards.
#pragma once

#include "platform/process.h"

#include <string>

class ScopedEnv {
  public:
    // value null removes the variable for the scope.
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = platform::GetEnv(name);
        m_hadOld = old != nullptr;
        m_old = old != nullptr ? old : "";
        platform::SetEnv(name, value);
    }
    ~ScopedEnv() { platform::SetEnv(m_name.c_str(), m_hadOld ? m_old.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string m_name; // the variable
    bool m_hadOld;      // it was set before
    std::string m_old;  // its value then
};
