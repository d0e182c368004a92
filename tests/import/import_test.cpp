// korvo-import: the time lists of every repeating event against libical's own expansion
// (icalcomponent_foreach_recurrence, overrides applied by hand), and bad input refused with its
// message and without a trace.
#include "data_file.h"
#include "content_lines.h"
#include "data_rows.h"
#include "import.h"

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <nlohmann/json.hpp>

#include <ctime>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A folder of its own for one test, removed afterwards.
struct Scratch {
    fs::path path =
        fs::temp_directory_path() / ("korvo-import-" + std::to_string(std::random_device()()));
    Scratch() { fs::create_directories(path); }
    ~Scratch() { fs::remove_all(path); }
};

// The instances libical gives one component: their starts as the import writes them, by start.
using Spans = std::map<time_t, std::string>;

// Context of the expansion callback.
struct Expansion {
    Spans* spans;             // where the spans go
    const icaltimezone* zone; // the zone of the series' start; null: floating or dates
    int from, to;             // the window, YYYYMMDD
};

std::string Written(time_t at, bool utc) {
    std::tm fields{};
    gmtime_r(&at, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &fields);
    return std::string(text) + (utc ? "Z" : "");
}

void Collect(icalcomponent*, icaltime_span* span, void* data) {
    const Expansion& expansion = *static_cast<const Expansion*>(data);
    const icaltimetype local = expansion.zone != nullptr
                                   ? icaltime_from_timet_with_zone(
                                         span->start, 0, const_cast<icaltimezone*>(expansion.zone))
                                   : icaltime_from_timet_with_zone(span->start, 0, nullptr);
    const int day = local.year * 10000 + local.month * 100 + local.day;
    if (day >= expansion.from && day <= expansion.to)
        (*expansion.spans)[span->start] = Written(span->start, expansion.zone != nullptr);
}

// Every instance of master (and of its overrides) in the window, as libical expands them.
Spans Expand(icalcomponent* master, const std::vector<icalcomponent*>& overrides, int from,
             int to) {
    const icaltimetype first = icalcomponent_get_dtstart(master);
    Spans spans;
    Expansion expansion{&spans, first.is_date ? nullptr : first.zone, from, to};
    const icaltimetype begin =
        icaltime_from_string((std::to_string(from / 10000 - 1) + "0101T000000Z").c_str());
    const icaltimetype end =
        icaltime_from_string((std::to_string(to / 10000 + 1) + "0101T000000Z").c_str());
    icalcomponent_foreach_recurrence(master, begin, end, Collect, &expansion);
    for (icalcomponent* change : overrides) {
        const icaltimetype replaced = icalproperty_get_datetime_with_component(
            icalcomponent_get_first_property(change, ICAL_RECURRENCEID_PROPERTY), change);
        spans.erase(icaltime_as_timet_with_zone(replaced, replaced.zone));
        if (icalcomponent_get_status(change) != ICAL_STATUS_CANCELLED)
            icalcomponent_foreach_recurrence(change, begin, end, Collect, &expansion);
    }
    return spans;
}

// A sample imported with a window.
struct RepeatCase {
    const char* sample; // data/NAME.ics
    const char* from;   // --from
    const char* to;     // --to
};

class RepeatsTest : public testing::TestWithParam<RepeatCase> {};

TEST_P(RepeatsTest, TimeListsAreLibicalsExpansion) {
    const RepeatCase& c = GetParam();
    Scratch scratch;
    korvo_import::Options options;
    options.out = (scratch.path / "installation").string();
    options.calendar = std::string(KORVO_IMPORT_DATA) + "/" + c.sample + ".ics";
    ASSERT_TRUE(korvo_import::ReadDate(c.from, options.window.from));
    ASSERT_TRUE(korvo_import::ReadDate(c.to, options.window.to));
    std::ostringstream warnings;
    korvo_import::Import(options, warnings);

    std::map<std::string, std::string> written; // ApptUNID to "start,start,..."
    const json mail = json::parse(
        korvo_test::FileBytes(scratch.path / "installation/data/servers/Mail1/mail/user.nsf"));
    for (const json& note : mail["notes"]) {
        std::map<std::string, json> items;
        for (const json& item : note["items"])
            items[item[0]] = item[1];
        if (items.count("Repeats") == 0)
            continue;
        std::string& list = written[items["ApptUNID"]];
        for (const json& start : items["StartDateTime"]["times"])
            list += start.get<std::string>() + ",";
    }

    std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> root(
        icalparser_parse_string(korvo_test::FileBytes(options.calendar).c_str()),
        icalcomponent_free);
    std::map<std::string, std::vector<icalcomponent*>> overrides;
    std::vector<icalcomponent*> masters;
    for (icalcomponent* event =
             icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
         event != nullptr;
         event = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT)) {
        if (icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr)
            overrides[icalcomponent_get_uid(event)].push_back(event);
        else if (icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) != nullptr)
            masters.push_back(event);
    }
    size_t expanded = 0;
    for (icalcomponent* master : masters) {
        const std::string uid = icalcomponent_get_uid(master);
        std::string expected;
        for (const auto& span :
             Expand(master, overrides[uid], options.window.from, options.window.to))
            expected += span.second + ",";
        if (!expected.empty())
            ++expanded;
        const auto found = written.find(uid);
        EXPECT_EQ(found != written.end() ? found->second : "", expected) << uid;
    }
    EXPECT_EQ(written.size(), expanded);
}

INSTANTIATE_TEST_SUITE_P(Samples, RepeatsTest,
                         testing::Values(RepeatCase{"team", "2026-11-30", "2026-12-31"},
                                         RepeatCase{"team", "2026-12-18", "2027-12-31"},
                                         RepeatCase{"desktop", "2026-11-01", "2027-04-30"},
                                         RepeatCase{"desktop", "2026-12-16", "2027-01-12"}));

// A sample file and what the import says of it: a row of data/refused/messages.tsv or
// data/skipped/warnings.tsv.
using Sample = std::vector<std::string>;

std::vector<Sample> Samples(const char* list) {
    return korvo_test::DataRows(std::string(KORVO_IMPORT_DATA) + "/" + list);
}

std::string SampleName(const testing::TestParamInfo<Sample>& info) {
    return fs::path(info.param[0]).stem().string();
}

// Files under data/refused the import must refuse, with the error after the file's path.
class BadInputTest : public testing::TestWithParam<Sample> {};

TEST_P(BadInputTest, RefusedWithoutTrace) {
    Scratch scratch;
    const std::string input = std::string(KORVO_IMPORT_DATA) + "/refused/" + GetParam()[0];
    korvo_import::Options options;
    options.out = (scratch.path / "installation").string();
    options.window = {20260101, 20261231};
    (fs::path(input).extension() == ".ics" ? options.calendar : options.people) = input;
    std::ostringstream warnings;
    try {
        korvo_import::Import(options, warnings);
        ADD_FAILURE() << "accepted";
    } catch (const korvo_import::ImportError& error) {
        EXPECT_EQ(error.what(), input + GetParam()[1]);
    }
    EXPECT_TRUE(fs::is_empty(scratch.path));
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputTest, testing::ValuesIn(Samples("refused/messages.tsv")),
                         SampleName);

// Calendars under data/skipped of one event the import reports and leaves out, with what
// follows "korvo-import: <file>:" in the report.
class SkippedEventTest : public testing::TestWithParam<Sample> {};

TEST_P(SkippedEventTest, ReportedAndLeftOut) {
    Scratch scratch;
    const std::string input = std::string(KORVO_IMPORT_DATA) + "/skipped/" + GetParam()[0];
    korvo_import::Options options;
    options.out = (scratch.path / "installation").string();
    options.window = {20261201, 20261231};
    options.calendar = input;
    std::ostringstream warnings;
    const korvo_import::Summary summary = korvo_import::Import(options, warnings);
    EXPECT_EQ(summary.skipped, 1);
    EXPECT_EQ(summary.appointments, 0u);
    EXPECT_EQ(warnings.str(),
              "korvo-import: " + input + ":" + GetParam()[1] + ", event \"u\" skipped\n");
}

INSTANTIATE_TEST_SUITE_P(Events, SkippedEventTest,
                         testing::ValuesIn(Samples("skipped/warnings.tsv")), SampleName);

} // namespace
