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

#include <cstdlib>
#include <ctime>
#include <fstream>
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

// Imports input (a calendar or a vCard file by its extension) into a fresh folder of scratch.
korvo_import::Summary ImportSample(const Scratch& scratch, const std::string& input, bool strict,
                                   std::ostream& warnings) {
    korvo_import::Options options;
    options.out = (scratch.path / "installation").string();
    options.window = {20261201, 20261231};
    options.strict = strict;
    (fs::path(input).extension() == ".ics" ? options.calendar : options.people) = input;
    return korvo_import::Import(options, warnings);
}

// Files under data/refused the import must refuse, strict or not, with the error after the
// file's path.
class BadInputTest : public testing::TestWithParam<Sample> {};

TEST_P(BadInputTest, RefusedWithoutTrace) {
    const std::string input = std::string(KORVO_IMPORT_DATA) + "/refused/" + GetParam()[0];
    for (bool strict : {false, true}) {
        Scratch scratch;
        std::ostringstream warnings;
        try {
            ImportSample(scratch, input, strict, warnings);
            ADD_FAILURE() << "accepted";
        } catch (const korvo_import::ImportError& error) {
            EXPECT_EQ(error.what(), input + GetParam()[1]);
        }
        EXPECT_TRUE(fs::is_empty(scratch.path));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputTest, testing::ValuesIn(Samples("refused/messages.tsv")),
                         SampleName);

// Files under data/skipped of one event or card that the import reports, with what follows
// "korvo-import: <file>:" in the report; in strict mode refused with the report's text before
// its last ", ", or reported alike.
class SkippedTest : public testing::TestWithParam<Sample> {};

TEST_P(SkippedTest, ReportedAndLeftOut) {
    const std::string input = std::string(KORVO_IMPORT_DATA) + "/skipped/" + GetParam()[0];
    const std::string report = input + ":" + GetParam()[1];
    {
        Scratch scratch;
        std::ostringstream warnings;
        const korvo_import::Summary summary = ImportSample(scratch, input, false, warnings);
        EXPECT_EQ(warnings.str(), "korvo-import: " + report + "\n");
        const bool skipped = report.size() > 8 && report.substr(report.size() - 8) == " skipped";
        EXPECT_EQ(summary.skipped + summary.skippedCards, skipped ? 1 : 0);
        EXPECT_EQ(summary.appointments, 0u);
    }
    Scratch scratch;
    std::ostringstream warnings;
    try {
        ImportSample(scratch, input, true, warnings);
        EXPECT_EQ(GetParam()[2], "warned");
        EXPECT_EQ(warnings.str(), "korvo-import: " + report + "\n");
    } catch (const korvo_import::ImportError& error) {
        EXPECT_EQ(GetParam()[2], "refused");
        EXPECT_EQ(error.what(), report.substr(0, report.rfind(", ")));
        EXPECT_TRUE(fs::is_empty(scratch.path));
    }
}

INSTANTIATE_TEST_SUITE_P(Records, SkippedTest, testing::ValuesIn(Samples("skipped/warnings.tsv")),
                         SampleName);

// The notes of a database file, one line each as [name, value] pairs; attachments by name and
// size.
std::string NoteLines(const fs::path& file) {
    std::string lines;
    const json database = json::parse(korvo_test::FileBytes(file));
    for (json note : database["notes"]) {
        if (note.value("class", "") == "view")
            continue;
        for (json& item : note["items"]) {
            if (item[1].is_object() && item[1].contains("file"))
                item[1] = {{"file", item[1]["file"]["name"]},
                           {"base64", item[1]["file"]["base64"].get<std::string>().size()}};
        }
        lines += note["items"].dump() + "\n";
    }
    return lines;
}

// Files under data/quirks, written as real programs write them, each with NAME.expected:
// the import's report, its summary, what strict mode does, and the notes written (of the mail
// file for a calendar, of the user's address book for people). KORVO_UPDATE_EXPECTED=1
// writes the files instead.
class QuirksTest : public testing::TestWithParam<std::string> {};

std::string QuirkName(const testing::TestParamInfo<std::string>& sample) {
    return fs::path(sample.param).stem().string();
}

TEST_P(QuirksTest, ImportedAsExpected) {
    const std::string data = std::string(KORVO_IMPORT_DATA) + "/";
    const std::string input = data + "quirks/" + GetParam();
    const auto relative = [&](std::string text) {
        for (size_t at; (at = text.find(data)) != std::string::npos;)
            text.erase(at, data.size());
        return text;
    };
    Scratch scratch;
    std::ostringstream warnings;
    const korvo_import::Summary summary = ImportSample(scratch, input, false, warnings);
    std::string got = relative(warnings.str());
    got += "summary: " + std::to_string(summary.people) + " people, " +
           std::to_string(summary.appointments) + " appointments, skipped " +
           std::to_string(summary.skipped) + " events and " + std::to_string(summary.skippedCards) +
           " cards, left out " + std::to_string(summary.errorLines) + " X-LIC-ERROR lines\n";
    {
        Scratch strict;
        std::ostringstream ignored;
        try {
            ImportSample(strict, input, true, ignored);
            got += "strict: imported\n";
        } catch (const korvo_import::ImportError& error) {
            got += "strict: refused: " + relative(error.what()) + "\n";
        }
    }
    const fs::path written =
        scratch.path / "installation/data" /
        (fs::path(input).extension() == ".ics" ? "servers/Mail1/mail/user.nsf" : "names.nsf");
    got += NoteLines(written);
    const fs::path expected = fs::path(input).replace_extension(".expected");
    if (std::getenv("KORVO_UPDATE_EXPECTED") != nullptr)
        std::ofstream(expected, std::ios::binary) << got;
    EXPECT_EQ(got, korvo_test::FileBytes(expected));
}

INSTANTIATE_TEST_SUITE_P(Programs, QuirksTest,
                         testing::Values("android.vcf", "outlook.vcf", "iphone.vcf", "gmail.vcf",
                                         "one_bad_card.vcf", "thunderbird.ics", "google.ics",
                                         "exchange_all_day.ics"),
                         QuirkName);

// Where the people go: the full names in the user's book and in the server's.
struct BookCase {
    korvo_import::PeopleBook book; // --people-book
    const char* local;             // FullNameInput of data/names.nsf, in order
    const char* server;            // the same of the server's names.nsf
};

class PeopleBookTest : public testing::TestWithParam<BookCase> {};

TEST_P(PeopleBookTest, PeopleInTheirBooks) {
    Scratch scratch;
    korvo_import::Options options;
    options.out = (scratch.path / "installation").string();
    options.window = {20261201, 20261231};
    options.people = std::string(KORVO_IMPORT_DATA) + "/quirks/one_bad_card.vcf";
    options.peopleBook = GetParam().book;
    std::ostringstream warnings;
    korvo_import::Import(options, warnings);
    const auto names = [&](const char* book) {
        std::string list;
        const json database =
            json::parse(korvo_test::FileBytes(scratch.path / "installation/data" / book));
        for (const json& note : database["notes"]) {
            for (const json& item : note["items"]) {
                if (item[0] == "FullNameInput")
                    list += item[1].get<std::string>() + ";";
            }
        }
        return list;
    };
    EXPECT_EQ(names("names.nsf"), GetParam().local);
    EXPECT_EQ(names("servers/Mail1/names.nsf"), GetParam().server);
}

INSTANTIATE_TEST_SUITE_P(Books, PeopleBookTest,
                         testing::Values(BookCase{korvo_import::PeopleBook::Local,
                                                  "Card One;Card Three;Ann Lee;", "Ann Lee;"},
                                         BookCase{korvo_import::PeopleBook::Server, "Ann Lee;",
                                                  "Card One;Card Three;Ann Lee;"},
                                         BookCase{korvo_import::PeopleBook::Both,
                                                  "Card One;Card Three;Ann Lee;",
                                                  "Card One;Card Three;Ann Lee;"}));

} // namespace
