// Writing the installation from what the files gave.
#include "import.h"

#include "content_lines.h"
#include "people.h"
#include "report.h"

namespace korvo_import {

Summary Import(const Options& options, std::ostream& warnings) {
    const size_t slash = options.user.find('/');
    if (Upper(options.user.substr(0, 3)) != "CN=" || slash == std::string::npos)
        throw ImportError("--user: \"" + options.user +
                          "\" is not a canonical name such as CN=Ann Lee/O=Acme");
    const std::string suffix = options.user.substr(slash);

    Report report(warnings, options.strict);
    Directory directory;
    if (!options.people.empty())
        directory = ReadPeople(options.people, suffix, report);
    std::map<std::string, std::string> names;
    for (const Person& person : directory.people) {
        for (const std::string& email : person.emails)
            names.emplace(Lower(email), person.canonical);
    }
    Calendar calendar;
    if (!options.calendar.empty())
        calendar = ReadCalendar(options.calendar, options.window, names, options.user, report);
    report.Finish();

    korvo_install::Layout layout;
    layout.userName = options.user;
    layout.mailServer = options.server;
    korvo_install::InstallationWriter install(options.out, layout, options.replace);
    const Person* self = nullptr;
    for (const Person& person : directory.people) {
        if (self == nullptr && Upper(person.canonical) == Upper(options.user))
            self = &person;
    }
    korvo_install::NoteBuilder made;
    if (self == nullptr) {
        const std::string common = korvo_install::CommonName(options.user);
        made.Item("Form", "Person")
            .Item("FullName", korvo_install::Json::array({options.user, common}))
            .Item("FullNameInput", common);
    }
    const korvo_install::NoteBuilder& own = self != nullptr ? self->note : made;
    const auto fill = [&](korvo_install::DatabaseWriter& book, bool people) {
        if (people) {
            for (const Person& person : directory.people)
                book.Add(person.note);
        }
        if (!people || self == nullptr)
            book.Add(own);
    };
    fill(install.LocalAddressBook(), options.peopleBook != PeopleBook::Server);
    fill(install.ServerAddressBook(), options.peopleBook != PeopleBook::Local);

    Summary summary;
    for (const Appointment& appointment : calendar.appointments) {
        install.MailFile().Add(appointment.note);
        summary.repeating += appointment.repeats ? 1 : 0;
        if (summary.firstDay == 0 || appointment.firstDay < summary.firstDay)
            summary.firstDay = appointment.firstDay;
        summary.lastDay = std::max(summary.lastDay, appointment.lastDay);
    }
    install.Commit();
    summary.people = directory.people.size();
    summary.appointments = calendar.appointments.size();
    summary.skipped = calendar.skipped;
    summary.skippedCards = directory.skipped;
    summary.errorLines = calendar.errorLines;
    return summary;
}

} // namespace korvo_import
