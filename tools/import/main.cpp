// korvo-import: writes a Notes installation for the substitute runtime from an iCalendar file
// and a vCard file.
#include "korvo_version.h"
#include "import.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

namespace {

const char kUsage[] =
    "usage: korvo-import --out DIR [--replace] --from YYYY-MM-DD --to YYYY-MM-DD\n"
    "                    [--user NAME] [--server NAME] [--calendar FILE.ics] [--people FILE.vcf]\n"
    "                    [--people-book local|server|both] [--strict]\n"
    "  --out DIR          the installation folder to write (must not exist)\n"
    "  --replace          replace DIR if it exists\n"
    "  --from, --to       the dates whose event instances are imported, both included\n"
    "  --user NAME        the mail file's owner (default CN=Ann Lee/O=Acme)\n"
    "  --server NAME      the mail server holding the directory (default CN=Mail1/O=Acme)\n"
    "  --calendar FILE    events, into the user's mail file\n"
    "  --people FILE      people (vCard 2.1, 3.0 or 4.0)\n"
    "  --people-book BOOK the address book the people go to: local (default, the user's\n"
    "                     own, as personal contacts), server (the mail server's directory)\n"
    "                     or both\n"
    "  --strict           refuse the files on their first problem instead of skipping the\n"
    "                     event or card\n"
    "registry.ini in DIR points the library at the installation\n"
    "(korvocOIEx --registry DIR/registry.ini).\n";

bool ReadBook(const std::string& text, korvo_import::PeopleBook& book) {
    using korvo_import::PeopleBook;
    if (text == "local")
        book = PeopleBook::Local;
    else if (text == "server")
        book = PeopleBook::Server;
    else if (text == "both")
        book = PeopleBook::Both;
    else
        return false;
    return true;
}

// The date YYYYMMDD as YYYY-MM-DD.
std::string DateText(int date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
    return text;
}

bool ReadOptions(int argc, char** argv, korvo_import::Options& options, std::string& problem) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--replace" || name == "--strict") {
            (name == "--replace" ? options.replace : options.strict) = true;
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
        else if (name == "--from")
            good = korvo_import::ReadDate(value, options.window.from);
        else if (name == "--to")
            good = korvo_import::ReadDate(value, options.window.to);
        else if (name == "--user")
            options.user = value;
        else if (name == "--server")
            options.server = value;
        else if (name == "--calendar")
            options.calendar = value;
        else if (name == "--people")
            options.people = value;
        else if (name == "--people-book")
            good = ReadBook(value, options.peopleBook);
        else {
            problem = "unknown option " + name;
            return false;
        }
        if (!good) {
            problem = "bad value for " + name + ": " + value;
            return false;
        }
    }
    if (options.out.empty() || options.window.from == 0 || options.window.to == 0) {
        problem = "--out, --from and --to are needed";
        return false;
    }
    if (options.window.from > options.window.to) {
        problem = "--from is after --to";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "korvo-import " KORVO_VERSION "\n";
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    korvo_import::Options options;
    std::string problem;
    if (!ReadOptions(argc, argv, options, problem)) {
        std::cerr << "korvo-import: " << problem << "\n" << kUsage;
        return 2;
    }
    try {
        const korvo_import::Summary summary = korvo_import::Import(options, std::cerr);
        std::cout << "korvo-import: wrote " << options.out << ": " << summary.people << " people, "
                  << summary.appointments << " appointments (" << summary.repeating
                  << " repeating)";
        if (summary.firstDay != 0)
            std::cout << ", the first on " << DateText(summary.firstDay) << ", the last on "
                      << DateText(summary.lastDay);
        std::cout << "\n";
        if (summary.skippedCards > 0)
            std::cerr << "korvo-import: skipped " << summary.skippedCards << " cards\n";
        if (summary.skipped > 0)
            std::cerr << "korvo-import: skipped " << summary.skipped << " events\n";
        if (summary.errorLines > 0)
            std::cerr << "korvo-import: left out " << summary.errorLines
                      << " X-LIC-ERROR lines (errors noted by the program that wrote the file)\n";
    } catch (const std::exception& error) {
        std::cerr << "korvo-import: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
