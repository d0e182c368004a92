// korvocOIEx: drives the operations of the KorvoLotusC object from the command line or a
// script, one JSON answer per command on standard output.
#include "command_table.h"
#include "korvo_version.h"
#include "host_options.h"
#include "library_session.h"
#include "script_runner.h"
#include "send_trace.h"

#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/registry.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr char kUsage[] =
    "usage: korvocOIEx [--registry FILE] [--trace LEVEL] [--trace-file FILE] [--answer LIST]\n"
    "                  COMMAND ARGS...\n"
    "       korvocOIEx [options] --script FILE|-\n"
    "       korvocOIEx --help | --version\n"
    "commands: init TYPE | uninit | sendmail SUBJECT RECIPIENTS BODY | smtp NAME |\n"
    "          list START END | instance ENTRYID START END | delete KEY | get KEY | profile |\n"
    "          clear | resolve QUERY [uri] | search [TERM...] | release\n"
    "dates are YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS (UTC); @null passes a null string\n";

constexpr int kUsageError = 2; // the exit status when the host cannot run as asked

int Fail(const std::string& message) {
    std::fprintf(stderr, "korvocOIEx: %s\n", message.c_str());
    return kUsageError;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = platform::CommandLineArguments(argc, argv);
    host::HostOptions options;
    std::string error;
    if (!host::ParseHostOptions(args, &options, &error)) {
        const int status = Fail(error);
        std::fputs(kUsage, stderr);
        return status;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::puts("korvocOIEx " KORVO_VERSION);
        return 0;
    }

    // On Windows the library reads the real registry; a store file there would be silently
    // ignored, and writing a caller's keys into a user's registry is no host's business.
    if (options.registryFile && !platform::RegistryIsStoreFile())
        return Fail("--registry names a registry store file, which this platform does not use: "
                    "the library reads the keys from the registry itself");
    if (options.registryFile && !platform::SetEnv("KORVO_REGISTRY", options.registryFile->c_str()))
        return Fail("cannot set KORVO_REGISTRY");
    if (options.answers && !platform::SetEnv("KORVO_MESSAGEBOX", options.answers->c_str()))
        return Fail("cannot set KORVO_MESSAGEBOX");

    // File names are UTF-8, as every argument is; u8path opens them as such on Windows too
    // (where the arguments are always well-formed UTF-8, which u8path needs).
    std::ifstream scriptFile;
    if (options.script && *options.script != "-") {
        scriptFile.open(std::filesystem::u8path(*options.script), std::ios::binary);
        if (!scriptFile)
            return Fail("cannot read the script " + *options.script);
    }
    std::ofstream traceFile;
    if (options.traceFile) {
        traceFile.open(std::filesystem::u8path(*options.traceFile));
        if (!traceFile)
            return Fail("cannot write the trace file " + *options.traceFile);
    }
    host::ConfigureTrace(options.traceLevel, options.traceFile ? &traceFile : nullptr);

    {
        host::LibrarySession session;
        if (!options.script)
            host::WriteAnswer(host::RunCommand(session, options.command));
        else if (*options.script == "-")
            host::RunScript(std::cin, session);
        else
            host::RunScript(scriptFile, session);
    }

    host::ConfigureTrace(-1, nullptr);
    return 0;
}
