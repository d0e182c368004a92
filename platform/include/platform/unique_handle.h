// One owning wrapper for every kind of handle; a traits class per close function says what
// "no handle" is and how a handle is given back.
//
//   struct RegistryKeyTraits {
//       using Handle = RegistryKey;
//       static Handle Invalid() { return nullptr; }
//       static void Close(Handle h) { RegCloseKey(h); }
//   };
//   UniqueHandle<RegistryKeyTraits> key;
//   RegOpenCurrentUserKey(path, view, key.Put());
#pragma once

#include <utility>

namespace platform {

template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : m_handle(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Invalid(); }

    // Gives the handle up without closing it.
    Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }

    // Closes the handle held (if any) and takes h.
    void Reset(Handle h = Traits::Invalid()) {
        Handle old = std::exchange(m_handle, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

    // Closes the handle held and returns the slot, for calls that hand a handle out.
    Handle* Put() {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = Traits::Invalid(); // the owned handle, or Traits::Invalid()
};

} // namespace platform
