// Writing the installation from what the files gave.
#include "import.h"

#include "content_lines.h"
#include "people.h"

namespace korvo_import {

Summary Import(const Options& options, std::ostream& warnings) {
    const size_t slash = options.user.find('/');
    if (Upper(options.user.substr(0, 3)) != "CN=" || slash == std::string::npos)
        throw ImportError("--user: \"" + options.user +
                          "\" is not a canonical name such as CN=Ann Lee/O=Acme");
    const std::string suffix = options.user.substr(slash);

    std::vector<Person> people;
    if (!options.people.empty())
        people = ReadPeople(options.people, suffix, warnings);
    std::map<std::string, std::string> names;
    for (const Person& person : people) {
        for (const std::string& email : person.emails)
            names.emplace(Lower(email), person.canonical);
    }
    Calendar calendar;
    if (!options.calendar.empty())
        calendar = ReadCalendar(options.calendar, options.window, names, options.user, warnings);

    korvo_install::Layout layout;
    layout.userName = options.user;
    layout.mailServer = options.server;
    korvo_install::InstallationWriter install(options.out, layout, options.replace);
    const Person* self = nullptr;
    for (const Person& person : people) {
        install.ServerAddressBook().Add(person.note);
        if (self == nullptr && Upper(person.canonical) == Upper(options.user))
            self = &person;
    }
    if (self != nullptr) {
        install.LocalAddressBook().Add(self->note);
    } else {
        const std::string common = korvo_install::CommonName(options.user);
        install.LocalAddressBook().Add(
            korvo_install::NoteBuilder()
                .Item("Form", "Person")
                .Item("FullName", korvo_install::Json::array({options.user, common}))
                .Item("FullNameInput", common));
    }
    Summary summary;
    for (const Appointment& appointment : calendar.appointments) {
        install.MailFile().Add(appointment.note);
        summary.repeating += appointment.repeats ? 1 : 0;
        if (summary.firstDay == 0 || appointment.firstDay < summary.firstDay)
            summary.firstDay = appointment.firstDay;
    }
    install.Commit();
    summary.people = people.size();
    summary.appointments = calendar.appointments.size();
    summary.skipped = calendar.skipped;
    return summary;
}

} // namespace korvo_import
