#include "trace_recorder.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <utility>

#if defined(_WIN32)
#define KORVO_TEST_EXPORT __declspec(dllexport)
#else
#define KORVO_TEST_EXPORT __attribute__((visibility("default")))
#endif

namespace korvo_test {
namespace {

std::mutex g_mutex;             // guards g_lines
std::vector<TraceLine> g_lines; // messages not yet taken

} // namespace

std::vector<TraceLine> TakeTraceLines() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return std::exchange(g_lines, {});
}

void ClearTraceLines() {
    TakeTraceLines();
}

} // namespace korvo_test

extern "C" [[gnu::format(printf, 5, 6)]] KORVO_TEST_EXPORT void
SendTrace(int level, const char* file, int line, const char* function, const char* format, ...) {
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

    korvo_test::TraceLine record;
    record.level = level;
    record.file = file != nullptr ? file : "";
    record.function = function != nullptr ? function : "";
    record.message = std::move(message);
    std::lock_guard<std::mutex> lock(korvo_test::g_mutex);
    korvo_test::g_lines.push_back(std::move(record));
}
