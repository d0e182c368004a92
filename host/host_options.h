// The host's own command-line options, read before the command.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

// What the command line asks of the host.
struct HostOptions {
    std::optional<std::string> registryFile; // --registry: the registry store for the library
    std::optional<std::string> answers;      // --answer: the message-box answers, "retry,cancel"
    int traceLevel = -1;                     // --trace: highest level written; -1 writes none
    std::optional<std::string> traceFile;    // --trace-file: where trace lines go (else stderr)
    std::optional<std::string> script;       // --script: the script file, "-" for stdin
    std::vector<std::string> command;        // the command and its arguments (none with --script)
    bool help = false;                       // --help: print the usage and stop
    bool version = false;                    // --version: print the version and stop
};

// Reads the options from args (the program name left out). Options come first, each as
// "--name VALUE" or "--name=VALUE"; the first word that is not an option starts the command,
// and every later word belongs to it. Returns false with *error set for an unknown option, a
// missing or malformed value, a command given with --script, or neither a command nor a
// script.
bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options,
                      std::string* error);

} // namespace host
