#include "bench_support.h"

#include "notesrt_testing.h"

#include "platform/codepage.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace korvo_bench {

std::string Utf8(const CString& text) {
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int bytes =
        platform::WideCharToMultiByte(platform::kCodePageUtf8, 0, text.data(), length, nullptr, 0);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        platform::WideCharToMultiByte(platform::kCodePageUtf8, 0, text.data(), length, out.data(),
                                      bytes);
    return out;
}

CString Wide(const std::string& utf8) {
    if (utf8.empty())
        return CString();
    const int length = static_cast<int>(utf8.size());
    const int units =
        platform::MultiByteToWideChar(platform::kCodePageUtf8, 0, utf8.data(), length, nullptr, 0);
    CString out(static_cast<size_t>(units > 0 ? units : 0), WCHAR{});
    if (units > 0)
        platform::MultiByteToWideChar(platform::kCodePageUtf8, 0, utf8.data(), length, out.data(),
                                      units);
    return out;
}

MemoryFigures ReadMemoryFigures() {
    MemoryFigures figures;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        // Lines read "VmHWM:	  123456 kB".
        const auto kilobytes = [&line]() {
            return std::strtoull(line.c_str() + line.find(':') + 1, nullptr, 10) * 1024;
        };
        if (line.rfind("VmHWM:", 0) == 0)
            figures.peak = kilobytes();
        else if (line.rfind("VmRSS:", 0) == 0)
            figures.current = kilobytes();
    }
    return figures;
}

bool ResetPeakMemory() {
    malloc_trim(0);
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

bool SmokeRun() {
    const char* smoke = std::getenv("KORVO_BENCH_SMOKE");
    return smoke != nullptr && *smoke != '\0' && std::strcmp(smoke, "0") != 0;
}

std::vector<int64_t> Sizes(const std::vector<int64_t>& sizes) {
    if (SmokeRun() && !sizes.empty())
        return {sizes.front()};
    return sizes;
}

int RunRegisteredBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    NotesrtTimeCalls(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace korvo_bench

// The host's trace entry point, found by the library at run time. A benchmark measures the
// library as the host runs it without --trace: every message is dropped unformatted.
extern "C" [[gnu::format(printf, 5, 6)]] __attribute__((visibility("default"))) void
SendTrace(int, const char*, int, const char*, const char*, ...) {}
