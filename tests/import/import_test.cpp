// korvo-import: the time lists of every repeating event against libical's own expansion
// (icalcomponent_foreach_recurrence, overrides applied by hand), and bad input refused with its
// message and without a trace.
#include "content_lines.h"
#include "import.h"

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <nlohmann/json.hpp>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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
    const json mail =
        json::parse(ReadFile(scratch.path / "installation/data/servers/Mail1/mail/user.nsf"));
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
        icalparser_parse_string(ReadFile(options.calendar).c_str()), icalcomponent_free);
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

// A file the import must refuse.
struct BadCase {
    const char* file;    // its name: bad.ics or bad.vcf
    const char* text;    // its content
    const char* message; // the error after the file's path
};

class BadInputTest : public testing::TestWithParam<BadCase> {};

TEST_P(BadInputTest, RefusedWithoutTrace) {
    const BadCase& c = GetParam();
    Scratch scratch;
    const fs::path input = scratch.path / c.file;
    std::ofstream(input, std::ios::binary) << c.text;
    korvo_import::Options options;
    options.out = (scratch.path / "installation").string();
    options.window = {20260101, 20261231};
    (fs::path(c.file).extension() == ".ics" ? options.calendar : options.people) = input.string();
    std::ostringstream warnings;
    try {
        korvo_import::Import(options, warnings);
        ADD_FAILURE() << "accepted";
    } catch (const korvo_import::ImportError& error) {
        EXPECT_EQ(error.what(), input.string() + c.message);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputTest,
    testing::Values(
        BadCase{"bad.ics", "BEGIN:VCARD\r\n", ":1: not an iCalendar file (no BEGIN:VCALENDAR)"},
        BadCase{"bad.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VCALENDAR\r\n",
                ":3: END: \"VCALENDAR\" does not close BEGIN:VEVENT of line 2"},
        BadCase{"bad.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n",
                ":2: END: BEGIN:VCALENDAR of line 1 is not closed"},
        BadCase{"bad.ics", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\nBEGIN:VCALENDAR\r\n",
                ":3: BEGIN: text after END:VCALENDAR"},
        BadCase{"bad.ics", "BEGIN:VCALENDAR\r\nX-A:\xC3\x28\r\nEND:VCALENDAR\r\n",
                ":2: not UTF-8 text"},
        BadCase{"bad.ics", " BEGIN:VCALENDAR\r\n",
                ":1: a continuation line without a line before it"},
        BadCase{"bad.ics",
                "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEXDATE;VALUE=DATE:20260101,20260230\r\n"
                "END:VEVENT\r\nEND:VCALENDAR\r\n",
                ":3: EXDATE: bad date \"20260230\""},
        BadCase{"bad.ics",
                "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20260101T0900\r\nEND:VEVENT\r\n"
                "END:VCALENDAR\r\n",
                ":3: DTSTART: bad date-time \"20260101T0900\""},
        BadCase{
            "bad.ics",
            "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nLOCATION:\r\nSUMMARY:a\r\n"
            "DURATION:P1Q\r\n RT\r\nRRULE:FREQ=DAILY;BYDAY=XX\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
            ":5: DURATION: bad duration \"P1QRT\""},
        BadCase{"bad.ics",
                "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:a\r\nSTATUS\r\nEND:VEVENT\r\n"
                "END:VCALENDAR\r\n",
                ":4: STATUS: no \":\" before the value"},
        BadCase{"bad.ics",
                "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;TZID:20260101T090000\r\n"
                "END:VEVENT\r\nEND:VCALENDAR\r\n",
                ":3: DTSTART: Can't parse parameter name: TZID"},
        BadCase{"bad.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Lee;Ann\r\nEND:VCARD\r\n",
                ":1: FN: missing in the card, or empty"},
        BadCase{"bad.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Ann\r\nEND:VCARD\r\n",
                ":1: VERSION: \"2.1\", only vCard 3.0 and 4.0 are read"},
        BadCase{"bad.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\n",
                ":3: END: the card of line 1 has no END:VCARD"},
        BadCase{"bad.vcf", "FN:Ann\r\n", ":1: FN: outside a card"},
        BadCase{"bad.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nTEL;WORK:1\r\nEND:VCARD\r\n",
                ":4: TEL: a parameter without a name or a value"},
        BadCase{"bad.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nNOTE;X=\"a:b\r\nEND:VCARD\r\n",
                ":4: NOTE: a parameter value without its closing quote"},
        BadCase{"bad.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\\:nn\r\nEND:VCARD\r\n",
                ":3: FN: a backslash before \":\", which is no escape"},
        BadCase{"bad.vcf",
                "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nPHOTO;ENCODING=b:iVBO\r\n "
                "Rw0*\r\nEND:VCARD\r\n",
                ":4: PHOTO: bad base64"},
        BadCase{"bad.vcf",
                "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann\r\nPHOTO:data:image/png,abc\r\nEND:VCARD\r\n",
                ":4: PHOTO: a data URI that is not base64"}));

} // namespace

// An event the import reports and leaves out, and the report.
struct SkipCase {
    const char* lines;   // the VEVENT's lines after UID:u
    const char* warning; // what follows "korvo-import: <file>:"
};

class SkippedEventTest : public testing::TestWithParam<SkipCase> {};

TEST_P(SkippedEventTest, ReportedAndLeftOut) {
    Scratch scratch;
    const fs::path input = scratch.path / "skip.ics";
    std::ofstream(input, std::ios::binary) << "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:u\r\n"
                                           << GetParam().lines << "END:VEVENT\r\nEND:VCALENDAR\r\n";
    korvo_import::Options options;
    options.out = (scratch.path / "installation").string();
    options.window = {20261201, 20261231};
    options.calendar = input.string();
    std::ostringstream warnings;
    const korvo_import::Summary summary = korvo_import::Import(options, warnings);
    EXPECT_EQ(summary.skipped, 1);
    EXPECT_EQ(summary.appointments, 0u);
    EXPECT_EQ(warnings.str(), "korvo-import: " + input.string() + ":" + GetParam().warning +
                                  ", event \"u\" skipped\n");
}

INSTANTIATE_TEST_SUITE_P(
    Events, SkippedEventTest,
    testing::Values(
        SkipCase{"DTSTART:20261130T090000\r\n", "4: DTSTART: no instance in the window"},
        SkipCase{"DTSTART:20261201T090000\r\nDTEND;VALUE=DATE:20261202\r\n",
                 "5: DTEND: a date where DTSTART has a time, or the other way round"},
        SkipCase{"DTSTART:20261201T090000\r\nDURATION:-PT1H\r\n",
                 "5: DURATION: ends before it starts"},
        SkipCase{"DTSTART;VALUE=DATE:20261201\r\nDURATION:PT12H\r\n",
                 "5: DURATION: not whole days for an all-day event"},
        SkipCase{"DTSTART;TZID=Nowhere/Town:20261201T090000\r\n",
                 "4: DTSTART: unknown time zone \"Nowhere/Town\""},
        SkipCase{"DTSTART:20261201T090000\r\nRDATE;VALUE=PERIOD:20261202T090000Z/PT1H\r\n",
                 "5: RDATE: periods are not imported"},
        SkipCase{"DTSTART:20261201T000000\r\nRRULE:FREQ=MINUTELY\r\n",
                 "4: DTSTART: more than 3000 instances in the window"}));
