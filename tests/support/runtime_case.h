// Cases run straight on the substitute runtime, started on a temporary installation: each case
// runs under the faults it names and returns what it read as text, which is compared with the
// text the case expects, together with the messages it logged.
#pragma once

#include "notes_installation.h"
#include "notesrt_testing.h"
#include "trace_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace korvo_test {

using Strings = std::vector<std::string>;

// Starts the runtime as a program in the installation's folder would be started (the folder
// and "=" with the path of notes.ini); NotesInitExtended's status.
STATUS StartRuntime(const NotesInstallation& installation);

// Everything the runtime holds: handles of every kind, memory locked, schedule containers.
uint32_t OpenHandles();

// The messages logged since the last take, oldest first; a line of the error handler shows
// as its label (the text before " -- error[").
Strings TakeMessages();

// Whether TZ is UTC or America/New_York, the zones the zone-dependent cases know, and which.
bool InKnownZone();
bool InNewYork();

// The name of a table row that has a member name, for test names.
template <class Row> std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// One case on a fixture of type Test: what it does, what that returns and what is logged.
template <class Test> struct RuntimeCase {
    RuntimeCase(const char* name_, const char* faults_, std::string (*run_)(Test&),
                std::string out_, Strings logged_, const char* outNewYork_ = nullptr)
        : name(name_), faults(faults_), run(run_), out(std::move(out_)), logged(std::move(logged_)),
          outNewYork(outNewYork_) {}

    const char* name;          // the case's name
    const char* faults;        // runtime calls failed by injection; null for none
    std::string (*run)(Test&); // the case; returns what it read, as text
    std::string out;           // what run returns (in UTC when outNewYork is set)
    Strings logged;            // the messages, as TakeMessages gives them
    const char* outNewYork;    // what run returns with TZ=America/New_York; null: as in UTC
};

// Runs the case on test under its faults and checks what it returns and what it logs (the
// type of test, a fixture of its own, is taken from the row).
template <class Test> void CheckCase(std::common_type_t<Test>& test, const RuntimeCase<Test>& row) {
    ClearTraceLines();
    ASSERT_EQ(NotesrtSetFaults(row.faults), 0);
    const std::string out = row.run(test);
    NotesrtSetFaults(nullptr);
    EXPECT_EQ(out, row.outNewYork != nullptr && InNewYork() ? row.outNewYork : row.out);
    EXPECT_EQ(TakeMessages(), row.logged);
}

} // namespace korvo_test
