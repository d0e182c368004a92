#include "runtime_case.h"

#include <cstdlib>

namespace korvo_test {
namespace {

std::string Zone() {
    const char* zone = std::getenv("TZ");
    return zone != nullptr ? zone : "";
}

} // namespace

STATUS StartRuntime(const NotesInstallation& installation) {
    std::string dir = PathText(installation.Root());
    std::string ini = "=" + PathText(installation.IniPath());
    char* argv[] = {dir.data(), ini.data()};
    return NotesInitExtended(2, argv);
}

uint32_t OpenHandles() {
    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    return counts.databases + counts.notes + counts.collections + counts.memoryAllocated +
           counts.memoryLocked + counts.mimeDirectories + counts.scheduleContainers;
}

Strings TakeMessages() {
    Strings messages;
    for (const TraceLine& line : TakeTraceLines())
        messages.push_back(line.function == "NotesAPIErrHandler"
                               ? line.message.substr(0, line.message.find(" -- error["))
                               : line.message);
    return messages;
}

bool InKnownZone() {
    return Zone() == "UTC" || InNewYork();
}

bool InNewYork() {
    return Zone() == "America/New_York";
}

} // namespace korvo_test
