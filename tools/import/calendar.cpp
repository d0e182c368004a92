// iCalendar events into appointment notes. libical parses the file and expands the rules; the
// text handed to it carries the source line of every property as a parameter, so problems can
// be reported by line.
#include "calendar.h"

#include "content_lines.h"
#include "report.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <set>

namespace korvo_import {
namespace {

using korvo_install::Json;

constexpr char kLineParameter[] = "X-KORVO-LINE"; // the source line of a property
constexpr int64_t kSecondsPerDay = 86400;
// The calendar reads a repeating appointment's times as one text of at most 61439 bytes,
// 20 bytes an instance; longer lists would be cut.
constexpr size_t kMostInstances = 3000;
// Steps a rule may take before the window ends (most of them before it begins, for a rule with
// COUNT that cannot skip ahead).
constexpr int kMostSteps = 1000000;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};

// An event left out: where and why.
struct Skip {
    int line;           // the line to name
    std::string reason; // "PROPERTY: problem"
};

// The file as the messages need it. Components are numbered in the order of their BEGIN lines;
// the VCALENDAR is 0.
struct Source {
    std::string file;                              // named in messages
    Report* report = nullptr;                      // where problems go
    std::map<int, std::string> lines;              // property lines by line number
    std::vector<int> begins;                       // BEGIN line of each component
    std::vector<std::string> kinds;                // name of each component (VEVENT)
    std::vector<size_t> topOf;                     // of each component, its child of VCALENDAR
    std::vector<std::vector<int>> properties;      // property lines of each component
    std::map<const icalcomponent*, size_t> number; // of each parsed component
    std::map<size_t, Skip> bad;                    // first problem of each event or zone skipped
    int errorLines = 0;                            // X-LIC-ERROR lines left out
};

// One instance as written.
struct Instance {
    int64_t start = 0; // seconds since 1970 of UTC, or of the wall clock for floating times
    int64_t end = 0;   // the same for its end
    bool utc = false;  // written with Z
    int day = 0;       // its date in the event's zone, YYYYMMDD
};

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Reads count decimal digits of text at i.
bool Digits(const std::string& text, size_t i, size_t count, int& value) {
    value = 0;
    if (i + count > text.size())
        return false;
    for (size_t k = i; k < i + count; ++k) {
        if (text[k] < '0' || text[k] > '9')
            return false;
        value = value * 10 + (text[k] - '0');
    }
    return true;
}

// Whether text is a DATE (YYYYMMDD) or, with time, a DATE-TIME (YYYYMMDDTHHMMSS, Z optional)
// that names a real date and time.
bool IsDateText(const std::string& text, bool time) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(text, 0, 4, year) || !Digits(text, 4, 2, month) || !Digits(text, 6, 2, day) ||
        month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    if (!time)
        return text.size() == 8;
    return text.size() >= 15 && text.size() <= 16 && text[8] == 'T' && Digits(text, 9, 2, hour) &&
           Digits(text, 11, 2, minute) && Digits(text, 13, 2, second) && hour < 24 && minute < 60 &&
           second <= 60 && (text.size() == 15 || text[15] == 'Z');
}

// The VALUE parameter of a content line, upper case; empty when it has none.
std::string ValueType(const std::string& text) {
    const std::string head = Upper(text.substr(0, ValueStart(text)));
    const size_t at = head.find(";VALUE=");
    if (at == std::string::npos)
        return "";
    const size_t start = at + 7;
    return head.substr(start, head.find_first_of(";:", start) - start);
}

// What is wrong with the dates and times of an event's time property, which libical reads
// leniently; empty when nothing is.
std::string TimesProblem(const ContentLine& line, const std::string& name) {
    static const std::set<std::string> kTimeProperties = {"DTSTART", "DTEND", "RECURRENCE-ID",
                                                          "RDATE", "EXDATE"};
    if (kTimeProperties.count(name) == 0)
        return "";
    const std::string type = ValueType(line.text);
    if (type == "PERIOD")
        return "";
    const bool time = type != "DATE";
    const std::string value = PropertyValue(line.text);
    size_t start = 0;
    while (start <= value.size()) {
        const size_t comma = std::min(value.find(',', start), value.size());
        const std::string piece = value.substr(start, comma - start);
        if (!IsDateText(piece, time))
            return name + ": bad " + (time ? "date-time" : "date") + " \"" + piece + "\"";
        start = comma + 1;
    }
    return "";
}

// A problem in a property of component at line: in strict mode the file is refused; otherwise
// an event or a time zone is skipped for its first problem, and a property elsewhere is left
// out.
void Flag(Source& source, size_t component, int line, const std::string& what) {
    const std::string where = source.file + ":" + std::to_string(line);
    const size_t top = source.topOf[component];
    const std::string& kind = source.kinds[top];
    if (top == 0 || (kind != "VEVENT" && kind != "VTIMEZONE")) {
        source.report->Problem(where, what, "left out");
        return;
    }
    if (source.report->Strict())
        throw ImportError(where + ": " + what);
    source.bad.emplace(top, Skip{line, what});
}

// The text handed to libical: every property line with its line number as a parameter, lines
// with problems left out (see Flag) and X-LIC-ERROR lines counted and left out. Checks that
// components nest, that the file is one VCALENDAR, and the events' times.
std::string MarkedText(const std::vector<ContentLine>& lines, Source& source) {
    const std::string& file = source.file;
    if (lines.empty() || Upper(lines[0].text) != "BEGIN:VCALENDAR")
        throw ErrorAt(file, lines.empty() ? 1 : lines[0].line,
                      "not an iCalendar file (no BEGIN:VCALENDAR)");
    // An open component.
    struct Open {
        std::string name; // VEVENT
        int line;         // of its BEGIN
        size_t number;    // in the order of BEGIN lines
    };
    std::vector<Open> open;
    bool ended = false;
    std::string text;
    for (const ContentLine& line : lines) {
        const std::string name = PropertyName(line.text);
        const std::string value = Upper(PropertyValue(line.text));
        if (ended)
            throw ErrorAt(file, line.line, name + ": text after END:VCALENDAR");
        if ((name == "BEGIN" || name == "END") && !line.problem.empty())
            throw ErrorAt(file, line.line, name + ": " + line.problem);
        if (name == "BEGIN") {
            const size_t number = source.begins.size();
            source.begins.push_back(line.line);
            source.kinds.push_back(value);
            source.topOf.push_back(open.size() <= 1 ? number : source.topOf[open.back().number]);
            source.properties.emplace_back();
            open.push_back({value, line.line, number});
            text += line.text + "\r\n";
            continue;
        }
        if (name == "END") {
            if (open.back().name != value)
                throw ErrorAt(file, line.line,
                              "END: \"" + value + "\" does not close BEGIN:" + open.back().name +
                                  " of line " + std::to_string(open.back().line));
            open.pop_back();
            ended = open.empty();
            text += line.text + "\r\n";
            continue;
        }
        if (name == "X-LIC-ERROR") {
            if (source.report->Strict())
                throw ErrorAt(file, line.line,
                              "X-LIC-ERROR: an error noted by the program that wrote the file");
            ++source.errorLines;
            continue;
        }
        std::string problem;
        if (!line.problem.empty())
            problem = name + ": " + line.problem;
        else if (ValueStart(line.text) == std::string::npos)
            problem = name + ": no \":\" before the value";
        else if (open.back().name == "VEVENT")
            problem = TimesProblem(line, name);
        if (!problem.empty()) {
            Flag(source, open.back().number, line.line, problem);
            continue;
        }
        source.properties[open.back().number].push_back(line.line);
        source.lines[line.line] = line.text;
        const size_t cut = name.size();
        text += line.text.substr(0, cut) + ";" + kLineParameter + "=" + std::to_string(line.line) +
                line.text.substr(cut) + "\r\n";
    }
    if (!ended)
        throw ErrorAt(file, lines.back().line,
                      "END: BEGIN:" + open.back().name + " of line " +
                          std::to_string(open.back().line) + " is not closed");
    return text;
}

int LineOf(icalproperty* property) {
    const char* line = icalproperty_get_parameter_as_string(property, kLineParameter);
    return line != nullptr ? std::atoi(line) : 0;
}

std::vector<icalproperty*> Properties(icalcomponent* component, icalproperty_kind kind) {
    std::vector<icalproperty*> properties;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p != nullptr;
         p = icalcomponent_get_next_property(component, kind))
        properties.push_back(p);
    return properties;
}

// Flags the problems libical noted in component and below (an X-LIC-ERROR property, which
// takes the place of a property it dropped or follows one whose parameter it refused). A
// property dropped for an empty value is no problem: it counts as absent. Also numbers every
// component.
void CheckParsed(icalcomponent* component, Source& source, size_t& serial) {
    const size_t index = serial++;
    if (index >= source.begins.size())
        throw ImportError(source.file + ": libical read components the file does not have");
    source.number[component] = index;
    const std::vector<icalproperty*> properties = Properties(component, ICAL_ANY_PROPERTY);
    std::set<int> missing(source.properties[index].begin(), source.properties[index].end());
    for (icalproperty* property : properties)
        missing.erase(LineOf(property));
    int previous = 0;
    for (icalproperty* property : properties) {
        if (icalproperty_isa(property) != ICAL_XLICERROR_PROPERTY) {
            previous = LineOf(property);
            continue;
        }
        const auto dropped = missing.upper_bound(previous);
        int line = previous != 0 ? previous : source.begins[index];
        if (dropped != missing.end()) {
            line = *dropped;
            missing.erase(dropped);
        }
        const std::string& text = source.lines[line];
        const std::string name = PropertyName(text);
        if (line != previous && PropertyValue(text).empty())
            continue;
        std::string problem = icalproperty_get_xlicerror(property);
        if (line != previous) {
            const icalvalue_kind kind =
                icalproperty_kind_to_value_kind(icalproperty_string_to_kind(name.c_str()));
            const std::string type = Lower(icalvalue_kind_to_string(kind));
            problem = kind == ICAL_NO_VALUE || kind == ICAL_X_VALUE
                          ? "not a property of iCalendar"
                          : "bad " + (type == "recur" ? std::string("rule") : type) + " \"" +
                                PropertyValue(text) + "\"";
        }
        Flag(source, index, line, name + ": " + problem);
    }
    for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
         child != nullptr; child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        CheckParsed(child, source, serial);
}

int DayOf(const icaltimetype& time) {
    return time.year * 10000 + time.month * 100 + time.day;
}

// Seconds since 1970 of a time: of UTC for a zoned time, of the wall clock for a floating one
// and for a date (at midnight).
int64_t SecondsOf(const icaltimetype& time) {
    return static_cast<int64_t>(icaltime_as_timet_with_zone(time, time.zone));
}

bool IsZoned(const icaltimetype& time) {
    return time.zone != nullptr && !time.is_date;
}

// The time of a DTSTART, DTEND, RDATE, EXDATE or RECURRENCE-ID in its zone.
icaltimetype TimeOf(icalproperty* property, icalcomponent* event) {
    const icaltimetype time = icalproperty_get_datetime_with_component(property, event);
    icalparameter* zone = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (zone != nullptr && time.zone == nullptr && !time.is_date)
        throw Skip{LineOf(property),
                   std::string(icalproperty_kind_to_string(icalproperty_isa(property))) +
                       ": unknown time zone \"" + icalparameter_get_tzid(zone) + "\""};
    return time;
}

// The date of time in the zone of the event's start.
int DayIn(const icaltimetype& time, const icaltimezone* zone) {
    if (!IsZoned(time) || zone == nullptr)
        return DayOf(time);
    return DayOf(icaltime_convert_to_zone(time, const_cast<icaltimezone*>(zone)));
}

icalproperty* First(icalcomponent* event, icalproperty_kind kind) {
    return icalcomponent_get_first_property(event, kind);
}

// How long each instance of event lasts, in seconds, given its start; fallback when it has
// neither DTEND nor DURATION.
int64_t LengthOf(icalcomponent* event, const icaltimetype& start, int64_t fallback) {
    int64_t length = fallback;
    int line = 0;
    std::string name = "DTEND";
    if (icalproperty* end = First(event, ICAL_DTEND_PROPERTY)) {
        line = LineOf(end);
        const icaltimetype time = TimeOf(end, event);
        if (time.is_date != start.is_date)
            throw Skip{line, "DTEND: a date where DTSTART has a time, or the other way round"};
        length = SecondsOf(time) - SecondsOf(start);
    } else if (icalproperty* duration = First(event, ICAL_DURATION_PROPERTY)) {
        line = LineOf(duration);
        name = "DURATION";
        length = icaldurationtype_as_int(icalproperty_get_duration(duration));
        if (start.is_date && length % kSecondsPerDay != 0)
            throw Skip{line, "DURATION: not whole days for an all-day event"};
    }
    if (length < 0)
        throw Skip{line, name + ": ends before it starts"};
    return length;
}

// The instance an override replaces. A series of all-day events names its instances by date;
// a date-time there (Exchange writes midnight in its own zone) is taken as its date.
icaltimetype ReplacedBy(icalcomponent* change, const icaltimetype& start, const Source& source) {
    icalproperty* id = First(change, ICAL_RECURRENCEID_PROPERTY);
    icaltimetype replaced = TimeOf(id, change);
    if (start.is_date && !replaced.is_date) {
        replaced.is_date = 1;
        replaced.hour = replaced.minute = replaced.second = 0;
        replaced.zone = nullptr;
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", replaced.year, replaced.month,
                      replaced.day);
        source.report->Problem(
            source.file + ":" + std::to_string(LineOf(id)),
            std::string("RECURRENCE-ID: a date-time in a series of all-day events, read as \"") +
                date + "\"",
            "");
    }
    return replaced;
}

// The instances of master inside the window, overridden instances replaced, in start order.
std::vector<Instance> InstancesOf(icalcomponent* master,
                                  const std::vector<icalcomponent*>& overrides,
                                  const Window& window, const Source& source) {
    const int beginLine = source.begins[source.number.at(master)];
    icalproperty* dtstart = First(master, ICAL_DTSTART_PROPERTY);
    if (dtstart == nullptr)
        throw Skip{beginLine, "VEVENT: no DTSTART"};
    const icaltimetype start = TimeOf(dtstart, master);
    const icaltimezone* zone = IsZoned(start) ? start.zone : nullptr;
    const int64_t length = LengthOf(master, start, start.is_date ? kSecondsPerDay : 0);
    std::map<int64_t, Instance> instances;
    const auto add = [&](const icaltimetype& time, int64_t seconds) {
        const int day = DayIn(time, zone);
        if (day < window.from || day > window.to)
            return;
        const int64_t at = SecondsOf(time);
        instances[at] = Instance{at, at + seconds, IsZoned(time), day};
        if (instances.size() > kMostInstances)
            throw Skip{LineOf(dtstart), "DTSTART: more than " + std::to_string(kMostInstances) +
                                            " instances in the window"};
    };
    add(start, length);

    for (icalproperty* rule : Properties(master, ICAL_RRULE_PROPERTY)) {
        std::unique_ptr<icalrecur_iterator, IteratorFree> iterator(
            icalrecur_iterator_new(icalproperty_get_rrule(rule), start));
        if (!iterator)
            throw Skip{LineOf(rule), "RRULE: libical cannot expand it"};
        icaltimetype from = start;
        from.year = window.from / 10000;
        from.month = window.from / 100 % 100;
        from.day = window.from % 100;
        from.hour = from.minute = from.second = 0;
        if (icalproperty_get_rrule(rule).count == 0 && icaltime_compare(start, from) < 0)
            icalrecur_iterator_set_start(iterator.get(), from);
        int steps = 0;
        for (icaltimetype time = icalrecur_iterator_next(iterator.get());
             !icaltime_is_null_time(time) && DayIn(time, zone) <= window.to;
             time = icalrecur_iterator_next(iterator.get())) {
            if (++steps > kMostSteps)
                throw Skip{LineOf(rule), "RRULE: more than " + std::to_string(kMostSteps) +
                                             " instances up to the end of the window"};
            add(time, length);
        }
    }
    for (icalproperty* date : Properties(master, ICAL_RDATE_PROPERTY)) {
        if (!icalperiodtype_is_null_period(icalproperty_get_rdate(date).period))
            throw Skip{LineOf(date), "RDATE: periods are not imported"};
        add(TimeOf(date, master), length);
    }
    for (icalproperty* date : Properties(master, ICAL_EXDATE_PROPERTY))
        instances.erase(SecondsOf(TimeOf(date, master)));
    for (icalcomponent* change : overrides) {
        const icaltimetype replaced = ReplacedBy(change, start, source);
        instances.erase(SecondsOf(replaced));
        if (icalcomponent_get_status(change) == ICAL_STATUS_CANCELLED)
            continue;
        icalproperty* own = First(change, ICAL_DTSTART_PROPERTY);
        const icaltimetype moved = own != nullptr ? TimeOf(own, change) : replaced;
        add(moved, LengthOf(change, moved, length));
    }
    if (instances.empty())
        throw Skip{LineOf(dtstart), "DTSTART: no instance in the window"};
    std::vector<Instance> list;
    for (const auto& entry : instances)
        list.push_back(entry.second);
    return list;
}

std::string Written(int64_t seconds, bool utc) {
    const std::time_t at = static_cast<std::time_t>(seconds);
    std::tm fields{};
    gmtime_r(&at, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &fields);
    return std::string(text) + (utc ? "Z" : "");
}

// The name a calendar address stands for: the directory's canonical name for its e-mail
// address, else the address itself.
std::string NameOf(const char* address, const std::map<std::string, std::string>& names) {
    std::string text = address != nullptr ? address : "";
    if (Upper(text.substr(0, 7)) == "MAILTO:")
        text.erase(0, 7);
    const auto found = names.find(Lower(text));
    return found != names.end() ? found->second : text;
}

// The notice type the user's answer stands for; empty when there is none to record.
std::string NoticeOf(icalproperty* attendee) {
    icalparameter* status = icalproperty_get_first_parameter(attendee, ICAL_PARTSTAT_PARAMETER);
    switch (status != nullptr ? icalparameter_get_partstat(status) : ICAL_PARTSTAT_NONE) {
    case ICAL_PARTSTAT_ACCEPTED:
        return "A";
    case ICAL_PARTSTAT_DECLINED:
        return "R";
    case ICAL_PARTSTAT_NEEDSACTION:
        return "I";
    default:
        return "";
    }
}

Appointment AppointmentOf(icalcomponent* event, const std::vector<Instance>& instances,
                          bool repeats, const std::map<std::string, std::string>& names,
                          const std::string& user) {
    Appointment appointment;
    for (const Instance& instance : instances) {
        if (appointment.firstDay == 0 || instance.day < appointment.firstDay)
            appointment.firstDay = instance.day;
        appointment.lastDay = std::max(appointment.lastDay, instance.day);
    }
    appointment.repeats = repeats;
    korvo_install::NoteBuilder& note = appointment.note;
    note.Item("Form", "Appointment");
    const auto text = [&](const char* item, const char* value) {
        if (value != nullptr && value[0] != '\0')
            note.Item(item, value);
    };
    text("Subject", icalcomponent_get_summary(event));
    text("Location", icalcomponent_get_location(event));
    if (repeats) {
        std::vector<std::string> starts, ends;
        for (const Instance& instance : instances) {
            starts.push_back(Written(instance.start, instance.utc));
            ends.push_back(Written(instance.end, instance.utc));
        }
        note.Item("Repeats", "1")
            .Item("StartDateTime", korvo_install::TimeListValue(starts))
            .Item("EndDateTime", korvo_install::TimeListValue(ends));
    } else {
        const Instance& only = instances.front();
        note.Item("StartDateTime", korvo_install::TimeValue(Written(only.start, only.utc)))
            .Item("EndDateTime", korvo_install::TimeValue(Written(only.end, only.utc)));
    }

    Json lists[3] = {Json::array(), Json::array(), Json::array()}; // required, optional, FYI
    std::string notice;
    std::string chair;
    if (icalproperty* organizer = First(event, ICAL_ORGANIZER_PROPERTY))
        chair = NameOf(icalproperty_get_organizer(organizer), names);
    for (icalproperty* attendee : Properties(event, ICAL_ATTENDEE_PROPERTY)) {
        const std::string name = NameOf(icalproperty_get_attendee(attendee), names);
        if (name.empty())
            continue;
        icalparameter* role = icalproperty_get_first_parameter(attendee, ICAL_ROLE_PARAMETER);
        const icalparameter_role kind =
            role != nullptr ? icalparameter_get_role(role) : ICAL_ROLE_REQPARTICIPANT;
        lists[kind == ICAL_ROLE_OPTPARTICIPANT   ? 1
              : kind == ICAL_ROLE_NONPARTICIPANT ? 2
                                                 : 0]
            .push_back(name);
        if (Upper(name) == Upper(user) && Upper(chair) != Upper(user))
            notice = NoticeOf(attendee);
    }
    const bool meeting = !lists[0].empty() || !lists[1].empty() || !lists[2].empty();
    const icaltimetype start = icalcomponent_get_dtstart(event);
    note.Item("AppointmentType", start.is_date ? "2" : meeting ? "3" : "0");
    if (!chair.empty())
        note.Item("Chair", chair);
    icalproperty* transparency = First(event, ICAL_TRANSP_PROPERTY);
    note.Item("$BusyPriority", transparency != nullptr && icalproperty_get_transp(transparency) ==
                                                              ICAL_TRANSP_TRANSPARENT
                                   ? "2"
                                   : "1");
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
        notice = "C";
    if (!notice.empty())
        note.Item("NoticeType", notice);
    const char* const kListItems[] = {"RequiredAttendees", "OptionalAttendees", "FYIAttendees"};
    for (int i = 0; i < 3; ++i) {
        if (!lists[i].empty())
            note.Item(kListItems[i], lists[i]);
    }
    text("ApptUNID", icalcomponent_get_uid(event));
    std::string body;
    for (const char* c = icalcomponent_get_description(event); c != nullptr && *c != '\0'; ++c) {
        if (*c != '\r')
            body += *c;
        else if (c[1] != '\n')
            body += '\n';
    }
    if (!body.empty())
        note.Item("Body", korvo_install::RichTextValue(body));
    return appointment;
}

} // namespace

bool ReadDate(const std::string& text, int& date) {
    int year = 0, month = 0, day = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !Digits(text, 0, 4, year) ||
        !Digits(text, 5, 2, month) || !Digits(text, 8, 2, day) || month < 1 || month > 12 ||
        day < 1 || day > DaysInMonth(year, month))
        return false;
    date = year * 10000 + month * 100 + day;
    return true;
}

Calendar ReadCalendar(const std::string& file, const Window& window,
                      const std::map<std::string, std::string>& names, const std::string& user,
                      Report& report) {
    icalerror_set_errors_are_fatal(0);
    Source source;
    source.file = file;
    source.report = &report;
    std::string text = MarkedText(ReadContentLines(file), source);
    std::unique_ptr<icalcomponent, ComponentFree> root(icalparser_parse_string(text.c_str()));
    if (!root || icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT)
        throw ImportError(file + ": libical cannot read it");
    size_t serial = 0;
    CheckParsed(root.get(), source, serial);
    const auto problem = [&](icalcomponent* component) -> const Skip* {
        const auto found = source.bad.find(source.number.at(component));
        return found != source.bad.end() ? &found->second : nullptr;
    };
    const auto where = [&](const Skip& skip) { return file + ":" + std::to_string(skip.line); };

    // A zone with a problem goes; the events that use it are skipped for an unknown zone.
    std::vector<icalcomponent*> badZones;
    for (icalcomponent* zone =
             icalcomponent_get_first_component(root.get(), ICAL_VTIMEZONE_COMPONENT);
         zone != nullptr;
         zone = icalcomponent_get_next_component(root.get(), ICAL_VTIMEZONE_COMPONENT)) {
        if (const Skip* skip = problem(zone)) {
            icalproperty* id = First(zone, ICAL_TZID_PROPERTY);
            report.Warn(where(*skip), skip->reason,
                        std::string("time zone \"") + (id ? icalproperty_get_tzid(id) : "") +
                            "\" skipped");
            badZones.push_back(zone);
        }
    }
    for (icalcomponent* zone : badZones) {
        icalcomponent_remove_component(root.get(), zone);
        icalcomponent_free(zone);
    }

    std::vector<icalcomponent*> events;
    std::map<std::string, std::vector<icalcomponent*>> overrides; // by UID
    std::set<std::string> masters;                                // UIDs with a master event
    std::map<std::string, const Skip*> badSeries; // UIDs with a problem in one of their events
    for (icalcomponent* event =
             icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
         event != nullptr;
         event = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT)) {
        events.push_back(event);
        const char* uid = icalcomponent_get_uid(event);
        if (uid == nullptr)
            continue;
        if (const Skip* skip = problem(event))
            badSeries.emplace(uid, skip);
        if (First(event, ICAL_RECURRENCEID_PROPERTY) != nullptr)
            overrides[uid].push_back(event);
        else
            masters.insert(uid);
    }

    Calendar calendar;
    calendar.errorLines = source.errorLines;
    const std::vector<icalcomponent*> none;
    std::set<std::string> skippedSeries;
    for (icalcomponent* event : events) {
        const char* uid = icalcomponent_get_uid(event);
        const bool master = First(event, ICAL_RECURRENCEID_PROPERTY) == nullptr;
        if (!master && uid != nullptr && masters.count(uid) != 0)
            continue;
        const auto changes = master && uid != nullptr ? overrides.find(uid) : overrides.end();
        const std::vector<icalcomponent*>& own =
            changes != overrides.end() ? changes->second : none;
        const char* summary = icalcomponent_get_summary(event);
        const std::string skipped = std::string("event \"") +
                                    (summary != nullptr ? summary
                                     : uid != nullptr   ? uid
                                                        : "") +
                                    "\" skipped";
        const auto series = uid != nullptr ? badSeries.find(uid) : badSeries.end();
        if (const Skip* skip = series != badSeries.end() ? series->second : problem(event)) {
            if (uid == nullptr || skippedSeries.insert(uid).second) {
                report.Warn(where(*skip), skip->reason, skipped);
                ++calendar.skipped;
            }
            continue;
        }
        try {
            const std::vector<Instance> instances = InstancesOf(event, own, window, source);
            const bool repeats = First(event, ICAL_RRULE_PROPERTY) != nullptr ||
                                 First(event, ICAL_RDATE_PROPERTY) != nullptr || !own.empty();
            calendar.appointments.push_back(AppointmentOf(event, instances, repeats, names, user));
        } catch (const Skip& skip) {
            report.Warn(where(skip), skip.reason, skipped);
            ++calendar.skipped;
        }
    }
    return calendar;
}

} // namespace korvo_import
