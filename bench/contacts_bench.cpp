// Looking people up through the interface object: ResolveContact (the local address book,
// by exact key) and GetSMTPFromDispName (local, then the server's, by key prefix) against
// directories of 1,000, 10,000 and 100,000 people, one in ten of them local. Each iteration
// looks up the same 100 display names at every size: 50 local people (hits) and 50 names of
// nobody (misses, which search every book). Per item: per lookup. lib_share is the part of
// the time spent outside the runtime's calls; first_ms the first pass after Init.
#include "bench_support.h"
#include "installation.h"

#include "notesrt_testing.h"

#include "platform/oleauto.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <exception>
#include <fstream>

namespace {

constexpr size_t kHits = 50; // queries naming a local person; as many name nobody

// The display names looked up, hits and misses in turn: the first people of the smallest
// directory's local book, who are the first local people of every directory.
std::vector<CString> QueryNames() {
    const korvo_bench::Installation& smallest = korvo_bench::DirectoryInstallation(1000, 0);
    std::ifstream file(smallest.root + "/data/names.nsf");
    const nlohmann::json book = nlohmann::json::parse(file);
    std::vector<CString> names;
    size_t hits = 0;
    // Note 0 is the user.
    for (size_t i = 1; i < book["notes"].size() && hits < kHits; ++i)
        for (const auto& item : book["notes"][i]["items"])
            if (item[0] == "FullNameInput") {
                names.push_back(korvo_bench::Wide(item[1].get<std::string>()));
                names.push_back(korvo_bench::Wide("Zed Q Nobody" + std::to_string(hits++)));
            }
    return names;
}

// One pass of lookups over the names.
struct Pass {
    double seconds = 0;        // the whole pass
    double runtimeSeconds = 0; // inside the runtime's calls
    size_t found = 0;          // names found
};

template <typename Lookup>
Pass TimedPass(IKorvoLotus* object, std::vector<CString>& names, Lookup lookup) {
    Pass pass;
    const uint64_t runtimeBefore = NotesrtCallNanoseconds();
    const auto began = std::chrono::steady_clock::now();
    for (CString& name : names)
        pass.found += lookup(object, name) ? 1 : 0;
    pass.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    pass.runtimeSeconds = static_cast<double>(NotesrtCallNanoseconds() - runtimeBefore) * 1e-9;
    return pass;
}

// Runs lookup over the names on an object started on the directory of state.range(0) people;
// lookup answers whether it found the name.
template <typename Lookup> void Lookups(benchmark::State& state, Lookup lookup) {
    IKorvoLotus* object = nullptr;
    std::vector<CString> names;
    try {
        names = QueryNames();
        object = korvo_bench::StartedObject(korvo_bench::DirectoryInstallation(state.range(0), 0));
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    if (object == nullptr || names.size() != 2 * kHits) {
        state.SkipWithError("Init failed or the query names are missing");
        return;
    }
    // The first pass also builds what the runtime computes on first use (the $Users views);
    // it is reported as first_ms and not timed.
    const Pass first = TimedPass(object, names, lookup);
    double seconds = 0, runtimeSeconds = 0;
    for (auto _ : state) {
        const Pass pass = TimedPass(object, names, lookup);
        state.SetIterationTime(pass.seconds);
        seconds += pass.seconds;
        runtimeSeconds += pass.runtimeSeconds;
        if (pass.found != kHits || first.found != kHits) {
            state.SkipWithError("a hit was missed or a miss was found");
            break;
        }
    }
    state.counters["first_ms"] = first.seconds * 1e3;
    DllDeleteKorvoLotusClassObject();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
    state.counters["lib_share"] = seconds > 0 ? (seconds - runtimeSeconds) / seconds : 0;
}

void ResolveContact(benchmark::State& state) {
    Lookups(state, [](IKorvoLotus* object, CString& name) {
        std::vector<ContactInfo> contacts;
        return object->ResolveContact(name, contacts, false, 0) == 0 && !contacts.empty();
    });
}

void GetSMTPFromDispName(benchmark::State& state) {
    Lookups(state, [](IKorvoLotus* object, CString& name) {
        BSTR query = platform::SysAllocString(name.c_str());
        BSTR smtp = nullptr;
        const bool found = object->GetSMTPFromDispName(query, &smtp) == 1;
        platform::SysFreeString(smtp);
        platform::SysFreeString(query);
        return found;
    });
}

} // namespace

int main(int argc, char** argv) {
    for (const int64_t people : korvo_bench::Sizes({1000, 10000, 100000})) {
        benchmark::RegisterBenchmark("ResolveContact/library", ResolveContact)
            ->Arg(people)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("GetSMTPFromDispName/library", GetSMTPFromDispName)
            ->Arg(people)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }
    return korvo_bench::RunRegisteredBenchmarks(argc, argv);
}
