#include "text_convert.h"

#include "platform/codepage.h"

namespace host {
namespace {

std::basic_string<WCHAR> Widen(unsigned codePage, const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int units = platform::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::basic_string<WCHAR> wide(static_cast<size_t>(units > 0 ? units : 0), WCHAR());
    if (units > 0)
        platform::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), units);
    return wide;
}

} // namespace

std::string Utf16ToUtf8(const WCHAR* text, size_t length) {
    if (length == 0)
        return {};
    const int size = static_cast<int>(length);
    const int bytes =
        platform::WideCharToMultiByte(platform::kCodePageUtf8, 0, text, size, nullptr, 0);
    std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        platform::WideCharToMultiByte(platform::kCodePageUtf8, 0, text, size, utf8.data(), bytes);
    return utf8;
}

std::basic_string<WCHAR> Utf8ToUtf16(const std::string& text) {
    return Widen(platform::kCodePageUtf8, text);
}

std::string AnsiToUtf8(const std::string& text) {
    const std::basic_string<WCHAR> wide = Widen(platform::kCodePageAnsi, text);
    return Utf16ToUtf8(wide.data(), wide.size());
}

} // namespace host
