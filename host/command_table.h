// The host's commands, one for each operation of the library's object.
#pragma once

#include "library_session.h"

#include <string>
#include <vector>

namespace host {

// Runs one command (words: its name, then its arguments; at least the name) and returns its
// answer, one JSON object on one line: {"op":NAME,"result":N,...}, or {"op":NAME,"error":...}
// for an unknown command or unusable arguments, in which case the library is not called.
std::string RunCommand(LibrarySession& session, const std::vector<std::string>& words);

} // namespace host
