// The two exported factory functions and the process-wide object they manage.
#include "notesctrl.h"

namespace {
CMgrClassFactory* g_instance = nullptr; // the one object, null while there is none
} // namespace

extern "C" KORVO_API IKorvoLotus* DllGetKorvoLotusClassObject() {
    if (!g_instance)
        g_instance = new CMgrClassFactory();
    return g_instance;
}

extern "C" KORVO_API void DllDeleteKorvoLotusClassObject() {
    delete g_instance;
    g_instance = nullptr;
}
