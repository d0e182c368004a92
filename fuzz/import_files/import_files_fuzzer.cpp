// The calendar and vCard readers of korvo-import on any bytes: the input is read as an
// iCalendar file and as a vCard file, leniently and strictly. Checked: the only failure is
// ImportError; a file strict reading accepts, lenient reading accepts with the same records;
// every person has a canonical name.
#include "calendar.h"
#include "content_lines.h"
#include "people.h"
#include "report.h"
#include "scratch_folder.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

namespace {

// What one reading gave, or that it was refused.
struct Reading {
    bool refused = false; // ImportError
    size_t records = 0;   // appointments or people
};

template <typename Read> Reading ReadWith(bool strict, Read read) {
    Reading reading;
    std::ostringstream out;
    korvo_import::Report report(out, strict);
    try {
        reading.records = read(report);
        report.Finish();
    } catch (const korvo_import::ImportError&) {
        reading.refused = true;
    }
    return reading;
}

// What strict reading accepts, lenient reading accepts alike.
void CheckAgree(const Reading& lenient, const Reading& strict) {
    if (strict.refused)
        return;
    if (lenient.refused || lenient.records != strict.records)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static korvo_fuzz::ScratchFolder folder("import");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    folder.Write("input.ics", bytes);
    folder.Write("input.vcf", bytes);
    const std::string calendar = (folder.Root() / "input.ics").string();
    const std::string cards = (folder.Root() / "input.vcf").string();
    const korvo_import::Window window{20261201, 20261231};
    const std::map<std::string, std::string> names;

    const auto readCalendar = [&](korvo_import::Report& report) {
        return korvo_import::ReadCalendar(calendar, window, names, "CN=Ann Lee/O=Acme", report)
            .appointments.size();
    };
    CheckAgree(ReadWith(false, readCalendar), ReadWith(true, readCalendar));

    const auto readPeople = [&](korvo_import::Report& report) {
        const korvo_import::Directory directory =
            korvo_import::ReadPeople(cards, "/O=Acme", report);
        for (const korvo_import::Person& person : directory.people) {
            if (person.canonical.compare(0, 3, "CN=") != 0)
                std::abort();
        }
        return directory.people.size();
    };
    CheckAgree(ReadWith(false, readPeople), ReadWith(true, readPeople));
    return 0;
}
