// Diagnostic output through the host's SendTrace.
//
// Every message goes to the function SendTrace that the host executable exports, found at
// run time. Without a host the messages go to the file $KORVO_TRACE names ("-" for standard
// error), or nowhere. Each component source file names itself once:
//
//   static constexpr char kTraceSource[] = "notesctrl.cpp";
//   KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Init", "initType[%d]", type);
//
// Arguments are narrow strings (%s) and 32-bit integers (%d, %x, %X); texts are in the ANSI
// code page.
#pragma once

namespace PM_SDK {
// Severity of a message, passed to SendTrace as a 32-bit number.
enum PMLoggerLevel {
    kLevelFailure = 0,  // a failed call, a missing installation, a rejected interface call
    kLevelRejected = 1, // rejected parameters of internal routines, searches finding nothing
    kLevelProgress = 2, // begin/end, paths and names found, success and failure
    kLevelDetail = 3    // per-item detail
};
} // namespace PM_SDK

namespace korvo {

// The signature of the host's SendTrace.
using SendTraceFunction = void (*)(int level, const char* sourceFile, int line,
                                   const char* functionName, const char* format, ...);

// The host's SendTrace, or the library's own sink when the host exports none. Looked up
// once; never null.
SendTraceFunction TraceSink();

// Looks the sink up again on the next message (for tests that change $KORVO_TRACE).
void ResetTraceSinkForTesting();

// Lets the compiler check a message's arguments against its format; never called.
[[gnu::format(printf, 1, 2)]] inline void CheckTraceFormat(const char*, ...) {}

} // namespace korvo

#define KORVO_TRACE(level, functionName, ...)                                                      \
    do {                                                                                           \
        if (false)                                                                                 \
            ::korvo::CheckTraceFormat(__VA_ARGS__);                                                \
        ::korvo::TraceSink()(static_cast<int>(level), kTraceSource, __LINE__, functionName,        \
                             __VA_ARGS__);                                                         \
    } while (0)
