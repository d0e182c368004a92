// XML escaping of text taken from other people's meetings: any UTF-16 text (the input's
// bytes in pairs) comes out with no bare "<" and reads back to itself.
#include "notesxml.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CString text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<WCHAR>(data[i] | data[i + 1] << 8));
    const CString escaped = EscapeXmlText(text);
    CString back;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '<')
            std::abort();
        back.push_back(escaped[i]);
        if (escaped[i] != '&')
            continue;
        if (escaped.compare(i + 1, 4, KORVO_W("amp;")) == 0) {
            i += 4;
        } else if (escaped.compare(i + 1, 3, KORVO_W("lt;")) == 0) {
            back.back() = '<';
            i += 3;
        } else {
            std::abort();
        }
    }
    if (back != text)
        std::abort();
    return 0;
}
