// korvo-mkinstall: writes a large Notes installation for the substitute runtime, the same
// for the same seed and options, so benchmarks and scale tests can run at the size of a real
// user's data.
#include "korvo_version.h"
#include "install_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

using korvo_install::Json;
using korvo_install::NoteBuilder;

const char kUsage[] =
    "usage: korvo-mkinstall --out DIR [options]\n"
    "  --out DIR             the installation folder to write (must not exist)\n"
    "  --replace             replace DIR if it exists\n"
    "  --seed N              seed of the draw (default 1)\n"
    "  --local N             people in the local address book (default 5000)\n"
    "  --server N            people in the server's address book (default 45000)\n"
    "  --appointments N      meetings in the mail file (default 1000)\n"
    "  --attendees N         attendees per meeting (default 10)\n"
    "  --repeating SHARE     share of meetings repeating daily for five days (default 0.1)\n"
    "  --unresolvable SHARE  share of attendees found in no address book (default 0)\n"
    "  --non-ascii SHARE     share of people and subjects with non-ASCII names (default 0)\n"
    "  --mime SHARE          share of meetings with a MIME body (default 0)\n"
    "  --week YYYY-MM-DD     the Monday of the week the meetings fill (default 2026-12-07)\n"
    "The user is CN=Ann Lee/O=Acme on mail server CN=Mail1/O=Acme; registry.ini in DIR\n"
    "points the library at the installation (korvocOIEx --registry DIR/registry.ini).\n";

// What to generate.
struct Options {
    std::string out;                      // --out
    bool replace = false;                 // --replace
    uint64_t seed = 1;                    // --seed
    uint64_t local = 5000;                // --local
    uint64_t server = 45000;              // --server
    uint64_t appointments = 1000;         // --appointments
    uint64_t attendees = 10;              // --attendees
    double repeating = 0.1;               // --repeating
    double unresolvable = 0;              // --unresolvable
    double nonAscii = 0;                  // --non-ascii
    double mime = 0;                      // --mime
    int year = 2026, month = 12, day = 7; // --week
};

// A small deterministic generator (splitmix64): the same numbers on every platform.
class Draw {
  public:
    explicit Draw(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint64_t Below(uint64_t n) { return Next() % n; }
    bool Chance(double share) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < share; }

  private:
    uint64_t m_state; // advanced by every draw
};

const char* const kFirstStart[] = {"Al", "Be", "Ca", "Da", "El", "Fi", "Ga", "Ha", "Jo", "Ma"};
const char* const kFirstEnd[] = {"n", "ra", "ssa", "do", "lia", "ton", "ry", "mo", "na", "vin"};
const char* const kLastStart[] = {"Ander", "Berg", "Carl", "Dunn", "Ell",
                                  "Fitz",  "Gold", "Hart", "Lind", "Mor"};
const char* const kLastEnd[] = {"son",  "man", "ley",  "ford", "stein",
                                "wood", "ton", "berg", "er",   "ing"};
// Non-ASCII beginnings that take the place of the ASCII ones for some people.
const char* const kFirstStartWide[] = {"J\u00f6", "Zo\u00eb",     "\u0141u", "\u00d1u", "\u00c7a",
                                       "\u00d8y", "\u0414\u043c", "\u00c5l", "\u00c9l", "\u0160a"};
const char* const kLastStartWide[] = {
    "M\u00fcl", "N\u00fa\u00f1", "\u00d8st", "\u0141\u0119c", "\u041f\u0435\u0442",
    "\u00c7el", "\u0160ko",      "\u00c1rn", "\u00d0or",      "\u00cfs"};
const char* const kTitles[] = {"Engineer", "Manager", "Analyst", "Designer", "Consultant"};
const char* const kTopics[] = {"Design review", "Weekly sync", "Planning",  "Customer call",
                               "Retrospective", "Budget",      "Interview", "Training"};

// Distinct names for up to kNameSpace people: a first name, a middle initial and a last name.
constexpr uint64_t kNameSpace = 10 * 10 * 26 * 10 * 10;

// One person of the directory.
struct Person {
    std::string first;     // FirstName
    std::string last;      // LastName
    std::string display;   // "First I Last"
    std::string canonical; // "CN=First I Last/O=Acme"
    std::string email;     // InternetAddress
};

Person PersonNumber(uint64_t index, bool wide) {
    // 7919 is prime to kNameSpace, so distinct indexes give distinct names.
    const uint64_t c = (index * 7919 + 104729) % kNameSpace;
    Person person;
    person.first =
        std::string(wide ? kFirstStartWide[c % 10] : kFirstStart[c % 10]) + kFirstEnd[c / 10 % 10];
    const char initial = static_cast<char>('A' + c / 100 % 26);
    person.last = std::string(wide ? kLastStartWide[c / 2600 % 10] : kLastStart[c / 2600 % 10]) +
                  kLastEnd[c / 26000 % 10];
    person.display = person.first + " " + initial + " " + person.last;
    person.canonical = "CN=" + person.display + "/O=Acme";
    if (wide) {
        person.email = "person" + std::to_string(index) + "@acme.example";
    } else {
        person.email = person.first + "." + initial + "." + person.last + "@acme.example";
        for (char& ch : person.email)
            ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    }
    return person;
}

NoteBuilder PersonNote(const Person& person, uint64_t index) {
    return NoteBuilder()
        .Item("Form", "Person")
        .Item("FullName", Json::array({person.canonical, person.display}))
        .Item("InternetAddress", person.email)
        .Item("FullNameInput", person.display)
        .Item("FirstName", person.first)
        .Item("LastName", person.last)
        .Item("JobTitle", kTitles[index % 5]);
}

// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian).
int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string IsoLocal(int64_t days, int minuteOfDay) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp + (mp < 10 ? 3 : -9);
    const int64_t y = yoe + era * 400 + (m <= 2);
    char text[96];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02d:%02d:00", static_cast<long long>(y),
                  static_cast<long long>(m), static_cast<long long>(d), minuteOfDay / 60,
                  minuteOfDay % 60);
    return text;
}

// The canonical name of an attendee: somebody of the directory, or a guest found nowhere.
std::string AttendeeName(const Options& options, Draw& draw, const std::vector<bool>& wide) {
    if (wide.empty() || (options.unresolvable > 0 && draw.Chance(options.unresolvable)))
        return "CN=Guest " + std::to_string(draw.Below(1000000)) + " External/O=Elsewhere";
    const uint64_t index = draw.Below(wide.size());
    return PersonNumber(index, wide[index]).canonical;
}

// Meeting number of the week; repeats tells whether it became a repeating one. wide: for
// each person of the directory, whether the name is non-ASCII.
NoteBuilder AppointmentNote(const Options& options, Draw& draw, uint64_t number,
                            const std::vector<bool>& wide, bool& repeats) {
    const int64_t monday = DaysFromCivil(options.year, options.month, options.day);
    const int start = 8 * 60 + static_cast<int>(draw.Below(18)) * 30;
    const int length = draw.Chance(0.5) ? 30 : 60;
    repeats = draw.Chance(options.repeating);
    const bool userChairs = wide.empty() || draw.Chance(0.25);
    const bool nonAscii = options.nonAscii > 0 && draw.Chance(options.nonAscii);
    const std::string topic = kTopics[number % 8];
    NoteBuilder note;
    note.Item("Form", "Appointment")
        .Item("Subject", (nonAscii ? "\u00dcberpr\u00fcfung: " + topic : topic) + " " +
                             std::to_string(number + 1))
        .Item("Location", "Room " + std::to_string(1 + draw.Below(40)));
    if (repeats) {
        std::vector<std::string> starts, ends;
        for (int64_t day = 0; day < 5; ++day) {
            starts.push_back(IsoLocal(monday + day, start));
            ends.push_back(IsoLocal(monday + day, start + length));
        }
        note.Item("Repeats", "1")
            .Item("StartDateTime", korvo_install::TimeListValue(starts))
            .Item("EndDateTime", korvo_install::TimeListValue(ends));
    } else {
        const int64_t day = monday + static_cast<int64_t>(number % 5);
        note.Item("StartDateTime", korvo_install::TimeValue(IsoLocal(day, start)))
            .Item("EndDateTime", korvo_install::TimeValue(IsoLocal(day, start + length)));
    }
    std::string chair = "CN=Ann Lee/O=Acme";
    if (!userChairs) {
        const uint64_t index = draw.Below(wide.size());
        chair = PersonNumber(index, wide[index]).canonical;
    }
    Json required = Json::array();
    Json optional = Json::array();
    for (uint64_t i = 0; i < options.attendees; ++i) {
        const std::string name = AttendeeName(options, draw, wide);
        (i * 10 < options.attendees * 7 ? required : optional).push_back(name);
    }
    note.Item("AppointmentType", "3")
        .Item("Chair", chair)
        .Item("$BusyPriority", draw.Chance(0.1) ? "2" : "1");
    if (!userChairs)
        note.Item("NoticeType", "A");
    if (!required.empty())
        note.Item("RequiredAttendees", required);
    if (!optional.empty())
        note.Item("OptionalAttendees", optional);
    if (options.mime > 0 && draw.Chance(options.mime)) {
        const std::string link = "https://meet.example/" + std::to_string(number + 1);
        note.Item("Body",
                  korvo_install::MimeAlternativeValue(
                      "Join online: " + link, "<p>Join <a href=\"" + link + "\">online</a></p>"));
    } else {
        note.Item("Body",
                  korvo_install::RichTextValue("Agenda\nItem " + std::to_string(number + 1)));
    }
    return note;
}

bool ReadCount(const char* text, uint64_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0' || text[0] == '-')
        return false;
    value = parsed;
    return true;
}

bool ReadShare(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= 0 && value <= 1;
}

bool ReadOptions(int argc, char** argv, Options& options, std::string& problem) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--replace") {
            options.replace = true;
            continue;
        }
        if (i + 1 >= argc) {
            problem = name + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool good = true;
        if (name == "--out")
            options.out = value;
        else if (name == "--seed")
            good = ReadCount(value, options.seed);
        else if (name == "--local")
            good = ReadCount(value, options.local);
        else if (name == "--server")
            good = ReadCount(value, options.server);
        else if (name == "--appointments")
            good = ReadCount(value, options.appointments);
        else if (name == "--attendees")
            good = ReadCount(value, options.attendees);
        else if (name == "--repeating")
            good = ReadShare(value, options.repeating);
        else if (name == "--unresolvable")
            good = ReadShare(value, options.unresolvable);
        else if (name == "--non-ascii")
            good = ReadShare(value, options.nonAscii);
        else if (name == "--mime")
            good = ReadShare(value, options.mime);
        else if (name == "--week")
            good = std::sscanf(value, "%4d-%2d-%2d", &options.year, &options.month, &options.day) ==
                       3 &&
                   options.month >= 1 && options.month <= 12 && options.day >= 1 &&
                   options.day <= 31;
        else {
            problem = "unknown option " + name;
            return false;
        }
        if (!good) {
            problem = "bad value for " + name + ": " + value;
            return false;
        }
    }
    if (options.out.empty()) {
        problem = "--out is missing";
        return false;
    }
    if (options.local + options.server >= kNameSpace) {
        problem = "at most " + std::to_string(kNameSpace - 1) + " people";
        return false;
    }
    return true;
}

void Generate(const Options& options) {
    korvo_install::InstallationWriter install(options.out, korvo_install::Layout(),
                                              options.replace);
    Draw draw(options.seed);
    const uint64_t people = options.local + options.server;
    std::vector<bool> wide(people);
    for (uint64_t i = 0; i < people; ++i)
        wide[i] = options.nonAscii > 0 && draw.Chance(options.nonAscii);

    install.LocalAddressBook().Add(
        NoteBuilder()
            .Item("Form", "Person")
            .Item("FullName", Json::array({"CN=Ann Lee/O=Acme", "Ann Lee"}))
            .Item("InternetAddress", "ann.lee@acme.example")
            .Item("FullNameInput", "Ann Lee")
            .Item("FirstName", "Ann")
            .Item("LastName", "Lee"));
    for (uint64_t i = 0; i < people; ++i) {
        korvo_install::DatabaseWriter& book =
            i < options.local ? install.LocalAddressBook() : install.ServerAddressBook();
        book.Add(PersonNote(PersonNumber(i, wide[i]), i));
    }
    uint64_t repeating = 0;
    for (uint64_t i = 0; i < options.appointments; ++i) {
        bool repeats = false;
        install.MailFile().Add(AppointmentNote(options, draw, i, wide, repeats));
        repeating += repeats ? 1 : 0;
    }
    install.Commit();
    std::cout << "wrote " << options.out << ": " << people << " people (" << options.local
              << " local, " << options.server << " on the server), " << options.appointments
              << " meetings (" << repeating << " repeating)\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "korvo-mkinstall " KORVO_VERSION "\n";
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    Options options;
    std::string problem;
    if (!ReadOptions(argc, argv, options, problem)) {
        std::cerr << "korvo-mkinstall: " << problem << "\n" << kUsage;
        return 2;
    }
    try {
        Generate(options);
    } catch (const std::exception& error) {
        std::cerr << "korvo-mkinstall: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
