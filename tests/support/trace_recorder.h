// Records what the library sends to the host's SendTrace, so tests can check log lines.
// Linking trace_recorder.cpp into a test executable makes it the host: it defines and
// exports SendTrace.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace korvo_test {

// One message as SendTrace received it.
struct TraceLine {
    int level = 0;        // 0 failure, 1 rejected, 2 progress, 3 detail
    std::string file;     // the source file the library named
    std::string function; // the logical function name
    std::string message;  // the message with its arguments filled in

    bool operator==(const TraceLine& other) const {
        return level == other.level && file == other.file && function == other.function &&
               message == other.message;
    }
};

inline std::ostream& operator<<(std::ostream& out, const TraceLine& line) {
    return out << "L" << line.level << " " << line.file << " " << line.function << " \""
               << line.message << "\"";
}

// The messages received since the last call (or since ClearTraceLines), oldest first; the
// record is emptied. Safe to call from any thread.
std::vector<TraceLine> TakeTraceLines();

// Forgets the messages received so far.
void ClearTraceLines();

} // namespace korvo_test
