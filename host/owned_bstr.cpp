#include "owned_bstr.h"

#include "null_argument.h"
#include "text_convert.h"

namespace host {

UniqueBstr BstrArgument(const std::string& utf8) {
    if (utf8 == kNullArgument)
        return UniqueBstr();
    const std::basic_string<WCHAR> wide = Utf8ToUtf16(utf8);
    return UniqueBstr(platform::SysAllocStringLen(wide.data(), static_cast<uint32_t>(wide.size())));
}

std::string BstrToUtf8(BSTR text) {
    return Utf16ToUtf8(text, platform::SysStringLen(text));
}

} // namespace host
