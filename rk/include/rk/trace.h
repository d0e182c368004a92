// The toolkit's own trace sink: a process-wide setting says where traced text goes.
//
// Modes:
//   1  target is a narrow file path; each text is appended to the file, followed by "\n"
//      (nothing is written when the file cannot be opened);
//   2  standard output, no line end added;
//   3  target is an RK::ITraceTarget*, handed the format and arguments (null: nothing);
//   any other (0 included)  the debugger output (standard error outside Windows), at most
//      2047 characters, followed by a separate "\n".
// Text goes to files and standard output in the system ANSI code page. The setting is not
// locked: traces from several threads may interleave.
//
// Wide formats follow printf with the conventions of Windows' wide functions: %s and %c take
// WCHAR text, %hs, %S, %hc and %C narrow text (in the ANSI code page), %ls, %ws, %lc and %wc
// WCHAR text again. Integers take the length modifiers hh, h, l, ll, j, z, t, I, I32 and I64,
// floating point values L; %p writes an address in upper-case hexadecimal with all its digits.
// %n takes its pointer and stores nothing; widths and precisions above 1048576 count as
// 1048576.
#pragma once

#include "rk/export.h"

#include "platform/wintypes.h"

#include <cstdarg>

namespace RK {

// A destination for mode 3; its first virtual function receives each trace.
class ITraceTarget {
  public:
    // Called with the format and arguments of rk_vtrace_w; for rk_vtrace_a the finished text
    // comes as the single WCHAR-string argument of the format "%ls".
    virtual void VTrace(const WCHAR* format, va_list args) = 0;

  protected:
    ~ITraceTarget() = default;
};

} // namespace RK

// Sets the mode and target of the sink (extra is kept and not used). Returns the previous
// mode; all three start as 0.
RK_API int rk_set_trace(int mode, void* target, int extra);

// Formats narrow text (printf rules of the C runtime) into at most 2047 characters, widens it
// from the ANSI code page and sends it to the sink as it is: it is not used as a format again.
[[gnu::format(printf, 1, 0)]] RK_API void rk_vtrace_a(const char* format, va_list args);

// Sends the wide format and its arguments to the sink, formatted as described above.
RK_API void rk_vtrace_w(const WCHAR* format, va_list args);
