// The text of the trace lines the host writes for the library's messages.
#pragma once

#include <cstdarg>
#include <string>

namespace host {

// The message a printf-style format and its arguments make (vsnprintf); a null format is
// an empty message.
[[gnu::format(printf, 1, 0)]] std::string FormatTraceMessage(const char* format, va_list args);

// One trace line, without its line break: "L<level>\t<file>:<line>\t<function>\t<message>".
// Null names are written empty; line breaks inside the message are written as \r and \n so
// that every message keeps to one line.
std::string TraceLine(int level, const char* sourceFile, int line, const char* functionName,
                      const std::string& message);

} // namespace host
