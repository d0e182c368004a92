// What every host does first and last: obtain the library's one object, and give it back.
#include "KorvoLotusC.h"

#include <cstdio>

int main() {
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    if (object == nullptr || DllGetKorvoLotusClassObject() != object) {
        std::puts("consumer: no object, or not the same one twice");
        return 1;
    }
    object->ClearCache();
    DllDeleteKorvoLotusClassObject();
    std::puts("consumer: obtained and released the object");
    return 0;
}
