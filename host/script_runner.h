// Running commands from a script, and writing the answers.
#pragma once

#include "library_session.h"

#include <istream>
#include <string>

namespace host {

// Writes one answer and its line break to standard output and flushes it, so that a program
// driving the host line by line sees each answer as soon as it is ready.
void WriteAnswer(const std::string& answer);

// Runs the script in `in` (UTF-8, one command per line, words split as SplitScriptLine
// splits them; blank and comment lines are skipped), answering each line before reading the
// next. A line that cannot be split answers {"op":"","error":"line N: ..."}.
void RunScript(std::istream& in, LibrarySession& session);

} // namespace host
