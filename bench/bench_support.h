// What the benchmark programs share: text conversion, the process's memory figures, the
// choice of sizes for a smoke run, and the host's trace entry point (bench_support.cpp
// defines SendTrace and discards every message, as the host does without --trace).
#pragma once

#include "KorvoLotusC.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvo_bench {

// UTF-16 text as UTF-8.
std::string Utf8(const CString& text);

// UTF-8 text as UTF-16.
CString Wide(const std::string& utf8);

// The resident set of this process from /proc/self/status, in bytes; 0 when unreadable.
struct MemoryFigures {
    uint64_t peak = 0;    // VmHWM: the highest resident set since start or the last reset
    uint64_t current = 0; // VmRSS: the resident set now
};
MemoryFigures ReadMemoryFigures();

// Gives freed heap back to the system, then sets the peak resident set to the current one
// (writes "5" to /proc/self/clear_refs). False when the kernel refuses the reset; the peak
// then still counts everything since the process started.
bool ResetPeakMemory();

// True when $KORVO_BENCH_SMOKE is set and not "0": the run only checks that every
// benchmark still works.
bool SmokeRun();

// The sizes a benchmark runs at: all of them, or only the first in a smoke run.
std::vector<int64_t> Sizes(const std::vector<int64_t>& sizes);

// Runs the benchmarks registered so far with the command line's options, with the runtime's
// calls timed (NotesrtTimeCalls); the program's exit status (1 for an option it does not know).
int RunRegisteredBenchmarks(int argc, char** argv);

} // namespace korvo_bench
