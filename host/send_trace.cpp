#include "send_trace.h"

#include "text_convert.h"
#include "trace_format.h"

#include <cstdarg>
#include <iostream>
#include <string>

namespace host {
namespace {

int g_maxLevel = -1;           // highest level written; -1 writes nothing
std::ostream* g_out = nullptr; // where lines go; null means standard error

} // namespace

void ConfigureTrace(int maxLevel, std::ostream* out) {
    g_maxLevel = maxLevel;
    g_out = out;
}

} // namespace host

extern "C" void SendTrace(int level, const char* sourceFile, int line, const char* functionName,
                          const char* format, ...) {
    if (level > host::g_maxLevel)
        return;
    va_list args;
    va_start(args, format);
    const std::string message = host::FormatTraceMessage(format, args);
    va_end(args);

    const std::string text =
        host::TraceLine(level, sourceFile, line, functionName, host::AnsiToUtf8(message)) + "\n";
    std::ostream& out = host::g_out != nullptr ? *host::g_out : std::cerr;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
}
