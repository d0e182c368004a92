// One repeating meeting with many instances, listed through the interface object:
// ListAppointment of the week of 2026-12-07 on a mail file whose only meeting repeats 1,000 or
// 8,000 times that week (a minute apart, from Monday 00:00), in a directory of 100 people. The
// reference lists as many
// single meetings in the same week: the same number of entries, each a note of its own. Only
// the call is timed (manual time), warm (after a first listing). Per item: per entry listed.
#include "bench_support.h"
#include "installation.h"

#include "platform/oleauto.h"
#include "platform/process.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// The local time count minutes after 2026-12-07 00:00, plus seconds.
std::string MinuteOfWeek(int64_t count, int seconds) {
    char text[96];
    std::snprintf(text, sizeof text, "2026-12-%02lldT%02lld:%02lld:%02d",
                  static_cast<long long>(7 + count / 1440), static_cast<long long>(count / 60 % 24),
                  static_cast<long long>(count % 60), seconds);
    return text;
}

// The installation whose mail file holds one meeting repeating instances times.
const korvo_bench::Installation& SeriesInstallation(int64_t instances) {
    static std::set<int64_t> rewritten;
    const korvo_bench::Installation& install = korvo_bench::GeneratedInstallation(
        {"--local", "10", "--server", "90", "--appointments", "1", "--repeating", "1", "--seed",
         std::to_string(instances)});
    if (!rewritten.insert(instances).second)
        return install;
    const fs::path file = fs::path(install.root) / "data/servers/Mail1/mail/user.nsf";
    Json db = Json::parse(std::ifstream(file));
    for (Json& note : db["notes"]) {
        Json& items = note["items"];
        for (Json& item : items) {
            if (item[0] != "StartDateTime" && item[0] != "EndDateTime")
                continue;
            Json times = Json::array();
            for (int64_t i = 0; i < instances; ++i)
                times.push_back(MinuteOfWeek(i, item[0] == "StartDateTime" ? 0 : 50));
            item[1] = Json{{"times", times}};
        }
    }
    std::ofstream(file) << db.dump(1);
    return install;
}

// The entries of one listing of the week; -1 when it failed.
int64_t ListWeek(IKorvoLotus* object, double& seconds) {
    FILETIME start = korvo_bench::DayStart(2026, 12, 7);
    FILETIME end = korvo_bench::DayStart(2026, 12, 13);
    BSTR xml = nullptr;
    const auto began = std::chrono::steady_clock::now();
    const int32_t result = object->ListAppointment(&start, &end, &xml);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    int64_t listed = 0;
    const CString document(xml, platform::SysStringLen(xml));
    for (size_t at = document.find(KORVO_W("<appointment>")); at != CString::npos;
         at = document.find(KORVO_W("<appointment>"), at + 1))
        ++listed;
    platform::SysFreeString(xml);
    return result == 0 ? listed : -1;
}

void Listing(benchmark::State& state, bool series) {
    const int64_t entries = state.range(0);
    const korvo_bench::Installation* install = korvo_bench::InstallationOrSkip(
        state, [&]() -> auto& {
            return series ? SeriesInstallation(entries)
                          : korvo_bench::GeneratedInstallation(
                                {"--local", "10", "--server", "90", "--appointments",
                                 std::to_string(entries), "--repeating", "0"});
        });
    if (install == nullptr)
        return;
    IKorvoLotus* object = korvo_bench::StartedObject(*install);
    double seconds = 0;
    if (object == nullptr || ListWeek(object, seconds) != entries) {
        state.SkipWithError("Init or the first listing failed, or it missed entries");
        DllDeleteKorvoLotusClassObject();
        return;
    }
    for (auto _ : state) {
        const int64_t listed = ListWeek(object, seconds);
        state.SetIterationTime(seconds);
        if (listed != entries) {
            state.SkipWithError("the listing failed or missed entries");
            break;
        }
    }
    DllDeleteKorvoLotusClassObject();
    state.SetItemsProcessed(state.iterations() * entries);
    if (!series)
        state.SetLabel("reference");
}

} // namespace

int main(int argc, char** argv) {
    // The listed range runs from local midnight: the demo's zone, whatever the caller's.
    platform::SetEnv("TZ", "Europe/Berlin");
    tzset();
    for (const int64_t entries : korvo_bench::Sizes({1000, 8000})) {
        for (const bool series : {false, true})
            benchmark::RegisterBenchmark(series ? "SeriesListing/series" : "SeriesListing/single",
                                         Listing, series)
                ->Arg(entries)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    }
    return korvo_bench::RunRegisteredBenchmarks(argc, argv);
}
