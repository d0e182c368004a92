#include "text.h"

#include "codec.h"

#include "platform/codepage.h"

#include <cstring>

namespace platform::detail {

std::string WideToUtf8(const WCHAR* text, size_t n) {
    std::string utf8;
    Encode(kCodePageUtf8, text, n, false, &utf8, nullptr);
    return utf8;
}

std::string WideToUtf8(const WCHAR* text) {
    return text == nullptr ? std::string()
                           : WideToUtf8(text, std::char_traits<WCHAR>::length(text));
}

WideString Utf8ToWide(std::string_view text) {
    WideString wide;
    Decode(kCodePageUtf8, text, false, &wide);
    return wide;
}

std::string AnsiToUtf8(const char* text) {
    if (text == nullptr)
        return {};
    WideString wide;
    Decode(ResolveCodePage(kCodePageAnsi), std::string_view(text, std::strlen(text)), false, &wide);
    return WideToUtf8(wide.data(), wide.size());
}

std::string Utf8ToAnsi(std::string_view text) {
    const WideString wide = Utf8ToWide(text);
    std::string ansi;
    Encode(ResolveCodePage(kCodePageAnsi), wide.data(), wide.size(), false, &ansi, nullptr);
    return ansi;
}

} // namespace platform::detail
