#include "host_options.h"

#include "number_arg.h"

#include <cstddef>
#include <cstdint>

namespace host {

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options,
                      std::string* error) {
    size_t i = 0;
    for (; i < args.size() && args[i].compare(0, 2, "--") == 0; ++i) {
        if (args[i] == "--help" || args[i] == "--version") {
            (args[i] == "--help" ? options->help : options->version) = true;
            return true;
        }
        const size_t equals = args[i].find('=');
        const std::string name = args[i].substr(0, equals);
        std::string value;
        if (equals != std::string::npos) {
            value = args[i].substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            *error = "option " + name + " needs a value";
            return false;
        }

        if (name == "--registry") {
            options->registryFile = value;
        } else if (name == "--answer") {
            options->answers = value;
        } else if (name == "--trace-file") {
            options->traceFile = value;
        } else if (name == "--script") {
            options->script = value;
        } else if (name == "--trace") {
            int32_t level = 0;
            if (!ParseInt32(value, &level)) {
                *error = "--trace needs a whole number, not '" + value + "'";
                return false;
            }
            options->traceLevel = level;
        } else {
            *error = "unknown option " + name;
            return false;
        }
    }

    options->command.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    if (options->script && !options->command.empty()) {
        *error = "a command cannot follow --script";
        return false;
    }
    if (!options->script && options->command.empty()) {
        *error = "no command given";
        return false;
    }
    return true;
}

} // namespace host
