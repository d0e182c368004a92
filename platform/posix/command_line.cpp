// The command-line arguments: POSIX hands them over as UTF-8 already.
#include "platform/command_line.h"

namespace platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    if (argv == nullptr || argc < 2)
        return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace platform
