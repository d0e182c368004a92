// The command-line arguments, read from the wide command line and converted to UTF-8.
#include "windows_api.h"

#include "utf8_codec.h"
#include "platform/codepage.h"
#include "platform/command_line.h"
#include "platform/unique_handle.h"

#include <shellapi.h>

#include <cstring>
#include <cwchar>

namespace platform {
namespace {

// The argument array CommandLineToArgvW allocates, given back with LocalFree.
struct ArgumentArrayTraits {
    using Handle = LPWSTR*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
};

std::string Utf8Of(const WCHAR* text, size_t length) {
    std::string utf8;
    detail::EncodeUtf8(text, length, false, &utf8, nullptr);
    return utf8;
}

// An argument of argv, in the ANSI code page, as UTF-8. No code page makes more than one
// UTF-16 unit of a byte, so the text's length in bytes is room enough.
std::string AnsiArgumentToUtf8(const char* text) {
    detail::WideString wide(std::strlen(text), WCHAR());
    const int size = static_cast<int>(wide.size());
    const int units =
        size == 0 ? 0
                  : platform::MultiByteToWideChar(kCodePageAnsi, 0, text, size, wide.data(), size);
    return Utf8Of(wide.data(), static_cast<size_t>(units));
}

} // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    std::vector<std::string> args;
    int count = 0;
    const UniqueHandle<ArgumentArrayTraits> words(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (words) {
        for (int i = 1; i < count; ++i)
            args.push_back(Utf8Of(words.Get()[i], std::wcslen(words.Get()[i])));
    } else {
        for (int i = 1; argv != nullptr && i < argc; ++i)
            args.push_back(AnsiArgumentToUtf8(argv[i]));
    }
    return args;
}

} // namespace platform
