// The program's command-line arguments as UTF-8 text, on every system.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The arguments after the program name, in UTF-8. On Windows they come from the process's
// wide command line, split as CommandLineToArgvW splits it, so that characters outside the
// ANSI code page survive (argc and argv, which hold the ANSI form, are used, converted from
// the ANSI code page, only when the wide line cannot be split). Elsewhere they are argv[1] to
// argv[argc - 1] as given, already UTF-8. Never fails; a null argv gives no arguments.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

} // namespace platform
