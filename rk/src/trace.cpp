// The toolkit's trace sink.
#include "rk/trace.h"

#include "rk/convert.h"

#include "wide_format.h"

#include "platform/codepage.h"
#include "platform/fs.h"
#include "platform/process.h"

#include <atomic>
#include <cstdio>
#include <limits>
#include <string>

namespace {

using WideText = std::basic_string<WCHAR>;

constexpr int kModeFile = 1;
constexpr int kModeStandardOutput = 2;
constexpr int kModeTarget = 3;
constexpr size_t kBufferCharacters = 2048; // the formatting buffers, NUL included
constexpr size_t kUnlimited = std::numeric_limits<size_t>::max();

// The process-wide setting of the sink.
struct TraceSettings {
    std::atomic<int> mode{0};           // where traces go
    std::atomic<void*> target{nullptr}; // the file path or object of modes 1 and 3
    std::atomic<int> extra{0};          // kept for the caller, not used
};

TraceSettings& Settings() {
    static TraceSettings settings;
    return settings;
}

// text in the ANSI code page.
std::string ToAnsi(const WideText& text) {
    if (text.empty())
        return std::string();
    std::string narrow(3 * text.size(), '\0');
    narrow.resize(rk_str_convert(static_cast<int>(platform::kCodePageAnsi), narrow.data(),
                                 static_cast<unsigned>(narrow.size()), text.data(),
                                 static_cast<unsigned>(text.size())));
    return narrow;
}

void AppendToFile(const char* path, const WideText& text) {
    if (path == nullptr)
        return;
    const platform::UniqueFile file(platform::OpenFileA(path, platform::FileAccess::Append));
    if (!file)
        return;
    const std::string line = ToAnsi(text) + "\n";
    platform::WriteFile(file.Get(), line.data(), static_cast<uint32_t>(line.size()));
}

void WriteToStandardOutput(const WideText& text) {
    const std::string narrow = ToAnsi(text);
    std::fwrite(narrow.data(), 1, narrow.size(), stdout);
    std::fflush(stdout);
}

void WriteToDebugger(const WCHAR* text) {
    platform::OutputDebugStringW(text);
    platform::OutputDebugStringW(KORVO_W("\n"));
}

void CallTarget(RK::ITraceTarget* target, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    target->VTrace(format, args);
    va_end(args);
}

} // namespace

int rk_set_trace(int mode, void* target, int extra) {
    TraceSettings& settings = Settings();
    settings.target = target;
    settings.extra = extra;
    return settings.mode.exchange(mode);
}

void rk_vtrace_w(const WCHAR* format, va_list args) {
    const TraceSettings& settings = Settings();
    void* const target = settings.target;
    switch (settings.mode) {
    case kModeFile:
        AppendToFile(static_cast<const char*>(target),
                     RK::detail::FormatWide(format, args, kUnlimited));
        break;
    case kModeStandardOutput:
        WriteToStandardOutput(RK::detail::FormatWide(format, args, kUnlimited));
        break;
    case kModeTarget:
        if (target != nullptr)
            static_cast<RK::ITraceTarget*>(target)->VTrace(format, args);
        break;
    default:
        WriteToDebugger(RK::detail::FormatWide(format, args, kBufferCharacters - 1).c_str());
        break;
    }
}

void rk_vtrace_a(const char* format, va_list args) {
    char narrow[kBufferCharacters] = {};
    std::vsnprintf(narrow, sizeof narrow, format, args);
    WCHAR wide[kBufferCharacters + 1] = {};
    const unsigned units = rk_str_convert(static_cast<int>(platform::kCodePageAnsi), wide,
                                          kBufferCharacters, narrow, RK::kWholeString);
    wide[units] = 0;
    const TraceSettings& settings = Settings();
    void* const target = settings.target;
    switch (settings.mode) {
    case kModeFile:
        AppendToFile(static_cast<const char*>(target), WideText(wide, units));
        break;
    case kModeStandardOutput:
        WriteToStandardOutput(WideText(wide, units));
        break;
    case kModeTarget:
        if (target != nullptr)
            CallTarget(static_cast<RK::ITraceTarget*>(target), KORVO_W("%ls"), wide);
        break;
    default:
        WriteToDebugger(wide);
        break;
    }
}
