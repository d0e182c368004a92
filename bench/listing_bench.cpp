// The whole listing through the interface object: ListAppointment of the week of 2026-12-07
// against a 50,000-person directory (5,000 local, 45,000 on the server) and a mail file of
// 1,000 or 10,000 meetings with ten attendees each, one in ten repeating daily for the five
// working days. Cold is the first listing after start-up (runtime and object fresh, caches
// empty); warm is a listing after one has been done. Only the call is timed (manual time). Per
// item: per appointment in the document. Counters: lib_ms, the time not spent inside the runtime's
// calls (NotesrtCallNanoseconds), and lib_share, its part of the whole.
#include "bench_support.h"
#include "installation.h"

#include "notesrt_testing.h"

#include "platform/oleauto.h"
#include "platform/process.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace {

constexpr int64_t kDirectory = 50000; // people in the directory

// What one listing took.
struct Timing {
    double seconds = 0;        // the whole call
    double runtimeSeconds = 0; // inside the runtime's calls
    int64_t listed = -1;       // appointments in the document; -1 when the call failed
};

// Lists the week on object.
Timing TimedListing(IKorvoLotus* object) {
    FILETIME start = korvo_bench::DayStart(2026, 12, 7);
    FILETIME end = korvo_bench::DayStart(2026, 12, 13);
    BSTR xml = nullptr;
    const uint64_t runtimeBefore = NotesrtCallNanoseconds();
    const auto began = std::chrono::steady_clock::now();
    const int32_t result = object->ListAppointment(&start, &end, &xml);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const double inRuntime = static_cast<double>(NotesrtCallNanoseconds() - runtimeBefore) * 1e-9;
    int64_t listed = 0;
    const CString document(xml, platform::SysStringLen(xml));
    for (size_t at = document.find(KORVO_W("<appointment>")); at != CString::npos;
         at = document.find(KORVO_W("<appointment>"), at + 1))
        ++listed;
    platform::SysFreeString(xml);
    return {elapsed, inRuntime, result == 0 ? listed : -1};
}

void Listing(benchmark::State& state, bool warm) {
    const korvo_bench::Installation* install = korvo_bench::InstallationOrSkip(
        state, [&]() -> auto& {
            return korvo_bench::DirectoryInstallation(kDirectory, state.range(0));
        });
    if (install == nullptr)
        return;
    IKorvoLotus* object = korvo_bench::StartedObject(*install);
    if (object != nullptr && warm && TimedListing(object).listed < 0)
        object = nullptr;
    if (object == nullptr) {
        state.SkipWithError("Init or the first listing failed");
        return;
    }
    double seconds = 0, runtimeSeconds = 0;
    int64_t listed = 0;
    for (auto _ : state) {
        if (!warm) {
            object = korvo_bench::StartedObject(*install);
            if (object == nullptr) {
                state.SkipWithError("Init failed");
                break;
            }
            object->ClearCache();
        }
        const Timing timing = TimedListing(object);
        state.SetIterationTime(timing.seconds);
        seconds += timing.seconds;
        runtimeSeconds += timing.runtimeSeconds;
        listed = timing.listed;
        if (listed <= 0) {
            state.SkipWithError("the listing failed or listed nothing");
            break;
        }
    }
    DllDeleteKorvoLotusClassObject();
    state.SetItemsProcessed(state.iterations() * listed);
    state.counters["lib_ms"] =
        benchmark::Counter((seconds - runtimeSeconds) * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["lib_share"] = seconds > 0 ? (seconds - runtimeSeconds) / seconds : 0;
}

} // namespace

int main(int argc, char** argv) {
    // The listed range runs from local midnight: the demo's zone, whatever the caller's.
    platform::SetEnv("TZ", "Europe/Berlin");
    tzset();
    for (const int64_t appointments : korvo_bench::Sizes({1000, 10000})) {
        for (const bool warm : {false, true})
            benchmark::RegisterBenchmark(warm ? "Listing/warm" : "Listing/cold", Listing, warm)
                ->Arg(appointments)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    }
    return korvo_bench::RunRegisteredBenchmarks(argc, argv);
}
