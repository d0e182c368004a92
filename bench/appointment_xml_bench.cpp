// The "appointments" document for the host: the library's AppointmentListBstr against
// libxml2's xmlTextWriter writing the same elements and CDATA sections from the same records
// (their strings given to it in UTF-8, its own encoding). Both documents are checked to be
// the same bytes before timing. Throughput in bytes of the document in UTF-8.
#include "bench_support.h"

#include "notesxml.h"

#include <benchmark/benchmark.h>
#include <libxml/xmlwriter.h>

#include <cstdio>
#include <map>

namespace {

constexpr size_t kAttendees = 10; // attendees of every record

const char* const kNames[] = {"Ann Lee",    "Bo Chen",    "Chloé Durand", "Dana Novak",
                              "Emil Åberg", "Fay Okafor", "Gus Quinn",    "Hanna Müller",
                              "Ivo Petit",  "Jun Tanaka"};
const char* const kSubjects[] = {"Stand-up", "Design review: R&D budget", "Réunion budget 2027",
                                 "Quarterly planning <draft>", "1:1"};
const char* const kLocations[] = {"Room 4.12", "Room 4 – 会议室", "Dial-in 555 0100, code 4711",
                                  ""};

SYSTEMTIME Time(int day, int minutes) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = static_cast<uint16_t>(day);
    time.wHour = static_cast<uint16_t>(minutes / 60);
    time.wMinute = static_cast<uint16_t>(minutes % 60);
    return time;
}

// Record i of a listing: a meeting of the week of 2026-12-07 with ten attendees.
AppointmentInfo Record(size_t i) {
    using korvo_bench::Wide;
    AppointmentInfo record;
    const int start = static_cast<int>(480 + i * 13 % 600);
    record.startTime = Time(static_cast<int>(7 + i % 5), start);
    record.endTime = Time(static_cast<int>(7 + i % 5), start + 45);
    record.duration = 45;
    record.meetStatus = static_cast<int32_t>(i % 4);
    record.subject = Wide(kSubjects[i % 5]);
    record.location = Wide(kLocations[i % 4]);
    record.description = Wide("Agenda:\n1. Status of the rollout & open issues\n2. Plan for the "
                              "next sprint\n3. Any other business\n\nDial-in: 555 0100");
    record.hostName = Wide(kNames[i % 10]);
    record.hostEmail = Wide("host" + std::to_string(i % 10) + "@acme.example");
    char unid[40];
    std::snprintf(unid, sizeof unid, "C1257E2B0036A1F2%016zX", i + 1);
    record.entryID = Wide(unid);
    record.isRecurrent = i % 10 == 0;
    record.responseStatus = static_cast<int32_t>(i % 3);
    record.busyStatus = 2;
    for (size_t a = 0; a < kAttendees; ++a) {
        AttendeeInfo attendee;
        attendee.name = Wide(kNames[(i + a) % 10]);
        attendee.email = Wide("person" + std::to_string((i * 7 + a) % 50000) + "@acme.example");
        attendee.attendType = 1;
        attendee.recipType = static_cast<int32_t>(a % 3);
        attendee.responseType = static_cast<int32_t>(a % 4);
        record.attendees.push_back(attendee);
    }
    return record;
}

// A record's strings in UTF-8, as a writer on libxml2 would keep them.
struct Utf8Attendee {
    std::string name;     // display name
    std::string email;    // e-mail address
    int32_t attendType;   // attendance type
    int32_t recipType;    // required, optional or for information
    int32_t responseType; // the attendee's response
};
struct Utf8Record {
    const AppointmentInfo* info;         // the numbers, flags and times
    std::string subject;                 // subject
    std::string location;                // location
    std::string description;             // body text
    std::string hostName;                // chair's name
    std::string hostEmail;               // chair's e-mail address
    std::string korvocOIEx;              // reserved field
    std::string entryID;                 // UNID text
    std::vector<Utf8Attendee> attendees; // attendees in order
};

// The records of each size and their UTF-8 copies, made once.
struct Listing {
    std::vector<AppointmentInfo> records; // what the library writes from
    std::vector<Utf8Record> utf8;         // what libxml2 writes from
};
const Listing& ListingOf(int64_t size) {
    static std::map<int64_t, Listing> listings;
    Listing& listing = listings[size];
    if (listing.records.empty()) {
        for (size_t i = 0; i < static_cast<size_t>(size); ++i)
            listing.records.push_back(Record(i));
        using korvo_bench::Utf8;
        for (const AppointmentInfo& r : listing.records) {
            Utf8Record u{&r,
                         Utf8(r.subject),
                         Utf8(r.location),
                         Utf8(r.description),
                         Utf8(r.hostName),
                         Utf8(r.hostEmail),
                         Utf8(r.korvocOIEx),
                         Utf8(r.entryID),
                         {}};
            for (const AttendeeInfo& a : r.attendees)
                u.attendees.push_back(
                    {Utf8(a.name), Utf8(a.email), a.attendType, a.recipType, a.responseType});
            listing.utf8.push_back(std::move(u));
        }
    }
    return listing;
}

// The text with "&" as "&amp;" and "<" as "&lt;", as the library puts text into CDATA.
std::string Escaped(const std::string& text) {
    if (text.find_first_of("&<") == std::string::npos)
        return text;
    std::string escaped;
    escaped.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else
            escaped += c;
    }
    return escaped;
}

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

// The ways an element's text is written.
void CData(xmlTextWriterPtr w, const char* name, const std::string& text) {
    xmlTextWriterStartElement(w, X(name));
    xmlTextWriterWriteCDATA(w, X(text.c_str()));
    xmlTextWriterFullEndElement(w);
}
void Raw(xmlTextWriterPtr w, const char* name, const std::string& text) {
    xmlTextWriterStartElement(w, X(name));
    xmlTextWriterWriteRaw(w, X(text.c_str()));
    xmlTextWriterFullEndElement(w);
}
void Number(xmlTextWriterPtr w, const char* name, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    Raw(w, name, text);
}
void Flag(xmlTextWriterPtr w, const char* name, int32_t value) {
    Raw(w, name, value != 0 ? "TRUE" : "FALSE");
}
void Time(xmlTextWriterPtr w, const char* name, const SYSTEMTIME& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", t.wMonth, t.wDay, t.wYear,
                  t.wHour, t.wMinute, t.wSecond);
    Raw(w, name, text);
}

// The document through libxml2, in UTF-8; the caller frees the buffer with xmlBufferFree.
xmlBufferPtr LibxmlDocument(const std::vector<Utf8Record>& records) {
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlTextWriterPtr w = xmlNewTextWriterMemory(buffer, 0);
    xmlTextWriterStartElement(w, X("appointments"));
    for (const Utf8Record& r : records) {
        xmlTextWriterStartElement(w, X("appointment"));
        CData(w, "subject", Escaped(r.subject));
        CData(w, "location", Escaped(r.location));
        CData(w, "description", Escaped(r.description));
        Raw(w, "hostName", r.hostName);
        CData(w, "hostEmail", r.hostEmail);
        Number(w, "duration", r.info->duration);
        Number(w, "meetStatus", r.info->meetStatus);
        Flag(w, "isRecurrent", r.info->isRecurrent ? 1 : 0);
        Flag(w, "isAllDayEvent", r.info->isAllDayEvent);
        Number(w, "responseStatus", r.info->responseStatus);
        Number(w, "busyStatus", r.info->busyStatus);
        CData(w, "korvocOIEx", r.korvocOIEx);
        Time(w, "startTime", r.info->startTime);
        Time(w, "endTime", r.info->endTime);
        Raw(w, "entryID", r.entryID);
        CData(w, "eventtype", std::to_string(r.info->eventtype));
        xmlTextWriterStartElement(w, X("attendees"));
        for (const Utf8Attendee& a : r.attendees) {
            xmlTextWriterStartElement(w, X("attendee"));
            CData(w, "name", Escaped(a.name));
            CData(w, "email", Escaped(a.email));
            Number(w, "attendType", a.attendType);
            Number(w, "recipType", a.recipType);
            Number(w, "responseType", a.responseType);
            xmlTextWriterFullEndElement(w);
        }
        xmlTextWriterFullEndElement(w);
        xmlTextWriterFullEndElement(w);
    }
    xmlTextWriterFullEndElement(w);
    xmlFreeTextWriter(w);
    return buffer;
}

// Skips the benchmark unless both writers give the same bytes; else the document's size.
int64_t CheckedSize(benchmark::State& state, const Listing& listing) {
    const platform::UniqueBstr document = AppointmentListBstr(listing.records);
    const std::string library =
        korvo_bench::Utf8(CString(document.Get(), platform::SysStringLen(document.Get())));
    xmlBufferPtr buffer = LibxmlDocument(listing.utf8);
    const std::string reference(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                                static_cast<size_t>(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
    if (library != reference)
        state.SkipWithError("the two documents differ");
    return static_cast<int64_t>(library.size());
}

void Library(benchmark::State& state) {
    const Listing& listing = ListingOf(state.range(0));
    const int64_t bytes = CheckedSize(state, listing);
    for (auto _ : state) {
        const platform::UniqueBstr xml = AppointmentListBstr(listing.records);
        benchmark::DoNotOptimize(xml.Get());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Libxml2(benchmark::State& state) {
    const Listing& listing = ListingOf(state.range(0));
    const int64_t bytes = CheckedSize(state, listing);
    state.SetLabel("reference");
    for (auto _ : state) {
        xmlBufferPtr buffer = LibxmlDocument(listing.utf8);
        benchmark::DoNotOptimize(xmlBufferContent(buffer));
        xmlBufferFree(buffer);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

int main(int argc, char** argv) {
    xmlInitParser();
    for (const int64_t records : korvo_bench::Sizes({1000, 10000})) {
        benchmark::RegisterBenchmark("AppointmentsXml/library", Library)
            ->Arg(records)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("AppointmentsXml/libxml2", Libxml2)
            ->Arg(records)
            ->Unit(benchmark::kMillisecond);
    }
    const int status = korvo_bench::RunRegisteredBenchmarks(argc, argv);
    xmlCleanupParser();
    return status;
}
