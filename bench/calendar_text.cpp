#include "calendar_text.h"

#include <cstdio>

namespace korvo_bench {
namespace {

constexpr size_t kLineOctets = 75; // octets of a content line before its CR LF

// line as content lines: CR LF after every 75 octets, continued after a blank.
void AppendFolded(std::string& text, const std::string& line) {
    size_t octets = 0;
    for (const char c : line) {
        if (octets == kLineOctets) {
            text += "\r\n ";
            octets = 1;
        }
        text += c;
        ++octets;
    }
    text += "\r\n";
}

// "yyyymmddThhmmss" for a time in the week of 2026-12-07, minutes from its Monday 00:00.
std::string WeekTime(unsigned minutes) {
    char text[20];
    std::snprintf(text, sizeof text, "202612%02uT%02u%02u00", 7 + minutes / 1440 % 7,
                  minutes / 60 % 24, minutes % 60);
    return text;
}

const char* const kFirstNames[] = {"Ann", "Bo", "Cy", "Dana", "Emil", "Fay", "Gus", "Hanna"};
const char* const kLastNames[] = {"Lee", "Chen", "Diaz", "Novak", "Okafor", "Petit", "Quinn"};
const char* const kSubjects[] = {
    "Stand-up",
    "Design review",
    "1:1",
    ("Quarterly planning with the regional sales teams\\, finance and the product "
     "owners (bring the draft roadmap)"),
    "Customer call: rollout of the new scheduling client to the second wave of sites",
    "Lunch",
};
const char* const kLocations[] = {"Room 4.12", "Dial-in 555 0100\\, code 4711", "Main hall",
                                  ("Building B\\, floor 2\\, the large meeting room beside "
                                   "the kitchen")};

} // namespace

std::string CalendarExportText(size_t events) {
    std::string text;
    text.reserve(events * 520 + 512);
    const std::string zone = "Local Time (GMT+0100)";
    for (const char* line :
         {"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//notesrt//Calendar//EN", "BEGIN:VTIMEZONE"})
        AppendFolded(text, line);
    AppendFolded(text, "TZID:" + zone);
    for (const char* line : {"BEGIN:STANDARD", "DTSTART:16010101T000000", "TZOFFSETFROM:+0100",
                             "TZOFFSETTO:+0100", "END:STANDARD", "END:VTIMEZONE"})
        AppendFolded(text, line);
    for (size_t i = 0; i < events; ++i) {
        // Spread over the working hours of the week, a few minutes apart.
        const unsigned start = static_cast<unsigned>(i * 7 % 5 * 1440 + 480 + i * 13 % 600);
        const bool instance = i % 10 == 0;
        char unid[40];
        std::snprintf(unid, sizeof unid, "%08X%08X%016zX", 0xC1257E2Bu, 0x0036A1F2u, i + 1);
        const std::string organizer =
            std::string("CN=") + kFirstNames[i % 8] + " " + kLastNames[i / 8 % 7] + "/O=Acme";
        AppendFolded(text, "BEGIN:VEVENT");
        AppendFolded(text, "DTSTART;TZID=" + zone + ":" + WeekTime(start));
        AppendFolded(text, "DTEND;TZID=" + zone + ":" + WeekTime(start + 30 + i % 4 * 15));
        AppendFolded(text, "DTSTAMP:20261201T081512Z");
        if (instance)
            AppendFolded(text, "RECURRENCE-ID:" + WeekTime(start - 60) + "Z");
        AppendFolded(text, std::string("SUMMARY:") + kSubjects[i % 6]);
        AppendFolded(text, std::string("LOCATION:") + kLocations[i % 4]);
        AppendFolded(text, std::string("UID:") + unid + (instance ? "-Generated" : ""));
        AppendFolded(text, std::string("X-LOTUS-UNID:") + unid);
        AppendFolded(text, "X-LOTUS-APPTTYPE:" + std::to_string(i % 5 == 4 ? 0 : 3));
        AppendFolded(text, "X-LOTUS-ORGANIZER:" + organizer);
        AppendFolded(text, "END:VEVENT");
    }
    AppendFolded(text, "END:VCALENDAR");
    return text;
}

} // namespace korvo_bench
