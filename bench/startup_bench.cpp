// Start-up: Init(1) on a fresh object with the runtime in the state of a fresh process,
// against directories of 1,000, 10,000 and 100,000 people (one in ten local) and an empty
// mail file. Only the call is timed. Counters: peak_MB, how far the resident set rose above
// where it stood before the call (the peak, VmHWM, is reset to the current resident set
// first through /proc/self/clear_refs, after freed heap has been given back); books_MB, the
// two address book files' size; x_books, the one over the other; lib_share, the part of the
// time spent outside the runtime's calls. Where the kernel refuses the reset, peak_MB counts
// from the process's highest resident set so far and overstates every run after the first.
#include "bench_support.h"
#include "installation.h"

#include "notesrt_testing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

void Init(benchmark::State& state) {
    const korvo_bench::Installation* install = korvo_bench::InstallationOrSkip(
        state, [&]() -> auto& { return korvo_bench::DirectoryInstallation(state.range(0), 0); });
    if (install == nullptr)
        return;
    const double books = static_cast<double>(korvo_bench::AddressBookBytes(*install));
    double seconds = 0, runtimeSeconds = 0, peakGrowth = 0;
    for (auto _ : state) {
        IKorvoLotus* object = korvo_bench::FreshObject(*install);
        korvo_bench::ResetPeakMemory();
        const uint64_t before = korvo_bench::ReadMemoryFigures().current;
        const uint64_t runtimeBefore = NotesrtCallNanoseconds();
        const auto began = std::chrono::steady_clock::now();
        const int32_t result = object->Init(1);
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        const uint64_t peak = korvo_bench::ReadMemoryFigures().peak;
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        runtimeSeconds += static_cast<double>(NotesrtCallNanoseconds() - runtimeBefore) * 1e-9;
        peakGrowth += static_cast<double>(std::max(peak, before) - before);
        if (result != 0) {
            state.SkipWithError("Init failed");
            break;
        }
    }
    DllDeleteKorvoLotusClassObject();
    NotesrtReset();
    const double iterations = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["peak_MB"] = peakGrowth / iterations / 1e6;
    state.counters["books_MB"] = books / 1e6;
    state.counters["x_books"] = peakGrowth / iterations / books;
    state.counters["lib_share"] = seconds > 0 ? (seconds - runtimeSeconds) / seconds : 0;
}

} // namespace

int main(int argc, char** argv) {
    for (const int64_t people : korvo_bench::Sizes({1000, 10000, 100000}))
        benchmark::RegisterBenchmark("Init/library", Init)
            ->Arg(people)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    return korvo_bench::RunRegisteredBenchmarks(argc, argv);
}
