// OSTranslate: text translation between LMBCS and UTF-8.
#include "lmbcs.h"
#include "notesapi.h"

#include <cstring>
#include <string>

extern "C" NOTESRT_API WORD LNPUBLIC OSTranslate(uint16_t mode, const char* in, uint16_t inLength,
                                                 char* out, uint16_t outLength) {
    using namespace notesrt;
    if (out == nullptr || outLength == 0 || (in == nullptr && inLength != 0))
        return 0;
    std::string result;
    try {
        const std::string_view input(in == nullptr ? "" : in, inLength);
        if (mode == OS_TRANSLATE_LMBCS_TO_UTF8)
            result = LmbcsToUtf8(input, outLength);
        else if (mode == OS_TRANSLATE_UTF8_TO_LMBCS)
            result = Utf8ToLmbcs(input, outLength);
        else
            return 0;
    } catch (...) {
        return 0;
    }
    std::memcpy(out, result.data(), result.size());
    if (result.size() < outLength)
        out[result.size()] = '\0';
    return static_cast<uint16_t>(result.size());
}
