// The library's object as the commands reach it.
#pragma once

#include "KorvoLotusC.h"

namespace host {

// Obtains the object with DllGetKorvoLotusClassObject on first use, and again on the first
// use after Release. Destroys it, if it holds one, when the session ends.
class LibrarySession {
  public:
    LibrarySession() = default;
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;
    ~LibrarySession();

    // The object; never null.
    IKorvoLotus& Object();

    // DllDeleteKorvoLotusClassObject: the object (and whatever it started) goes away.
    void Release();

  private:
    IKorvoLotus* m_object = nullptr; // the library's object; null until needed
};

} // namespace host
