#include "trace.h"

#include "platform/codepage.h"
#include "platform/process.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace korvo {
namespace {

std::atomic<SendTraceFunction> g_sink{nullptr}; // the resolved sink, null until first use

// Converts ANSI text to UTF-8 so the trace file reads the same on every machine.
std::string AnsiToUtf8(const char* text) {
    const int units =
        platform::MultiByteToWideChar(platform::kCodePageAnsi, 0, text, -1, nullptr, 0);
    if (units <= 0)
        return text;
    std::vector<WCHAR> wide(static_cast<size_t>(units));
    platform::MultiByteToWideChar(platform::kCodePageAnsi, 0, text, -1, wide.data(), units);
    const int bytes =
        platform::WideCharToMultiByte(platform::kCodePageUtf8, 0, wide.data(), -1, nullptr, 0);
    if (bytes <= 0)
        return text;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    platform::WideCharToMultiByte(platform::kCodePageUtf8, 0, wide.data(), -1, utf8.data(), bytes);
    utf8.resize(static_cast<size_t>(bytes) - 1);
    return utf8;
}

// The sink without a host: one line a message into the file $KORVO_TRACE names.
[[gnu::format(printf, 5, 6)]] void FileSink(int level, const char* sourceFile, int line, const char* functionName,
              const char* format, ...) {
    const char* target = platform::GetEnv("KORVO_TRACE");
    if (target == nullptr || *target == '\0')
        return;

    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string message(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(message.data(), message.size() + 1, format, args);
    va_end(args);

    const bool toStderr = std::strcmp(target, "-") == 0;
    std::FILE* out = toStderr ? stderr : std::fopen(target, "ab");
    if (out == nullptr)
        return;
    std::fprintf(out, "L%d\t%s:%d\t%s\t%s\n", level, sourceFile, line, functionName,
                 AnsiToUtf8(message.c_str()).c_str());
    if (toStderr)
        std::fflush(out);
    else
        std::fclose(out);
}

} // namespace

SendTraceFunction TraceSink() {
    SendTraceFunction sink = g_sink.load(std::memory_order_acquire);
    if (sink == nullptr) {
        sink = reinterpret_cast<SendTraceFunction>(platform::FindHostSymbol("SendTrace"));
        if (sink == nullptr)
            sink = &FileSink;
        g_sink.store(sink, std::memory_order_release);
    }
    return sink;
}

void ResetTraceSinkForTesting() {
    g_sink.store(nullptr, std::memory_order_release);
}

} // namespace korvo
