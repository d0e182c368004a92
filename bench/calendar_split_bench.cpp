// Splitting the calendar export into entries: the library's ParseCalendarText against
// libical's parser doing the same job (parse the text, collect the same properties of every
// VEVENT into entries, free what it built), on the same text. Throughput in bytes of text.
#include "bench_support.h"
#include "calendar_text.h"

#include "calendarparse.h"

#include <benchmark/benchmark.h>
#include <libical/ical.h>

#include <cstring>
#include <map>

namespace {

// The text of each size, made once.
const std::string& Text(int64_t events) {
    static std::map<int64_t, std::string> texts;
    std::string& text = texts[events];
    if (text.empty())
        text = korvo_bench::CalendarExportText(static_cast<size_t>(events));
    return text;
}

template <size_t N> void CopyField(char (&field)[N], const char* value) {
    if (value == nullptr)
        return;
    std::strncpy(field, value, N - 1);
    field[N - 1] = '\0';
}

// What libical's tree gives for one VEVENT, as the library's entry holds it.
CalendarEventEntry EntryOf(icalcomponent* event) {
    CalendarEventEntry entry{};
    CopyField(entry.uid, icalcomponent_get_uid(event));
    if (icalproperty* recurrence =
            icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY))
        CopyField(entry.recurrenceId, icalproperty_get_value_as_string(recurrence));
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_X_PROPERTY);
         property != nullptr; property = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
        const char* name = icalproperty_get_x_name(property);
        const char* value = icalproperty_get_x(property);
        if (std::strcmp(name, "X-LOTUS-ORGANIZER") == 0)
            CopyField(entry.organizer, value);
        else if (std::strcmp(name, "X-LOTUS-UNID") == 0)
            CopyField(entry.unidText, value);
        else if (std::strcmp(name, "X-LOTUS-APPTTYPE") == 0)
            entry.apptType = value[0] >= '0' && value[0] <= '4' ? value[0] - '0' : 5;
    }
    return entry;
}

void Library(benchmark::State& state) {
    const std::string& text = Text(state.range(0));
    for (auto _ : state) {
        std::vector<CalendarEventEntry> entries;
        ParseCalendarText(text.data(), text.size(), entries);
        benchmark::DoNotOptimize(entries.data());
        if (entries.size() != static_cast<size_t>(state.range(0)))
            state.SkipWithError("wrong number of entries");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Libical(benchmark::State& state) {
    const std::string& text = Text(state.range(0));
    state.SetLabel("reference");
    for (auto _ : state) {
        std::vector<CalendarEventEntry> entries;
        icalcomponent* calendar = icalparser_parse_string(text.c_str());
        for (icalcomponent* event =
                 icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             event != nullptr;
             event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            entries.push_back(EntryOf(event));
        icalcomponent_free(calendar);
        benchmark::DoNotOptimize(entries.data());
        if (entries.size() != static_cast<size_t>(state.range(0)))
            state.SkipWithError("wrong number of entries");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

int main(int argc, char** argv) {
    for (const int64_t events : korvo_bench::Sizes({1000, 10000})) {
        benchmark::RegisterBenchmark("CalendarSplit/library", Library)
            ->Arg(events)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("CalendarSplit/libical", Libical)
            ->Arg(events)
            ->Unit(benchmark::kMicrosecond);
    }
    return korvo_bench::RunRegisteredBenchmarks(argc, argv);
}
