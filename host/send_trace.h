// The trace sink the host exports: the library finds SendTrace by name and hands it every
// diagnostic message.
#pragma once

#include "host_export.h"

#include <ostream>

namespace host {

// Sets which messages are written (levels up to maxLevel; -1 for none) and where to (out,
// null for standard error; it stays the caller's and must stay open while the library may
// trace). Call it before the first library call.
void ConfigureTrace(int maxLevel, std::ostream* out);

} // namespace host

// Writes one line for a message whose level is within the configured one; the message
// (format and arguments as printf takes them, text in the ANSI code page) is written in
// UTF-8.
extern "C" KORVO_HOST_EXPORT void SendTrace(int level, const char* sourceFile, int line,
                                            const char* functionName, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
