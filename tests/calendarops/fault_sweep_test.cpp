// Every operation of the interface run with its N-th runtime call failed, for N = 1, 2, ...
// until the operation no longer reaches call N; once as a single failure and once with every
// call from N on failing, under two statuses. After each faulted run:
// - the result is one the operation may give,
// - the first failed call is reported as kReportedAs says (by default the error handler's
//   line names it),
// - the runtime holds the address books at most (checked after every step by the fixture),
// - run again without faults, the operation gives the result it gives after a clean run; and
//   after ClearCache (names resolved while a book failed stay cached for the day otherwise),
//   the operation and a probe give the documents they give after a clean run.
#include "data_rows.h"
#include "operations_fixture.h"

#include "notesrt_testing.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

using korvo_test::OperationsTest;
using korvo_test::SplitText;
using korvo_test::TraceLine;

// One operation swept: a row of sweeps.tsv, "-" for an empty field.
struct SweepCase {
    std::string name;    // the case's name
    std::string setup;   // steps run first, without faults, on a fresh object
    std::string step;    // the operation run with faults; "destroy" deletes the object
    std::string results; // the results it may give under a fault, e.g. "01"
    std::string probe;   // steps run after it without faults: they must answer as after a
                         // clean run (caches and the runtime consistent)
    bool repeatable;     // a second run answers as the first (not so for a deletion)
    std::string sticky;  // a call whose failure lasts until the address books are closed:
                         // a book opened without its $Users view keeps searching nothing
};

std::vector<SweepCase> Sweeps() {
    std::vector<SweepCase> sweeps;
    for (std::vector<std::string> fields : korvo_test::DataRows(KORVO_CALENDAROPS_SWEEPS)) {
        for (std::string& field : fields)
            field = field == "-" ? "" : field;
        sweeps.push_back({fields.at(0), fields.at(1), fields.at(2), fields.at(3), fields.at(4),
                          fields.at(5) == "yes", fields.at(6)});
    }
    return sweeps;
}

// How a failed call is reported when not by the error handler under its own name: the label
// the handler names instead, or null when the library answers the failure without the
// handler (value calls that answer nothing, an absent item, a free or an information read
// whose status is not examined).
const std::map<std::string, const char*> kReportedAs = {
    {"CalReadRange", "GetCalendarByTimeRange"},
    {"MIMEGetEntityData", "MIMEGetDecodedEntityData"},
    {"NIFFindDesignNoteExt", "NIFFindView"},
    {"NSFItemGetText", nullptr},
    {"NSFItemConvertToText", nullptr},
    {"NSFItemGetTime", nullptr},
    {"TimeGMToLocal", nullptr},
    {"NSFItemInfo", nullptr},
    {"OSMemFree", nullptr},
    {"NSFDbGetNoteInfo", nullptr},
    {"NSFDbReplicaInfoGet", nullptr},
};

// How the calls fail: one call or every call from N on, with a status.
struct Mode {
    const char* name; // for messages
    bool onward;      // every call from N on fails
    STATUS status;    // what the failed calls return
};

const Mode kModes[] = {
    {"single 0x1234", false, 0x1234},
    {"single ERR_NOT_FOUND", false, ERR_NOT_FOUND},
    {"onward 0x1234", true, 0x1234},
    {"onward ERR_NOT_FOUND", true, ERR_NOT_FOUND},
};

// The result line of a transcript.
std::string ResultLine(const std::string& transcript) {
    const size_t at = transcript.find("result ");
    return at == std::string::npos ? transcript
                                   : transcript.substr(at, transcript.find('\n', at) - at + 1);
}

// A transcript without its log lines: which searches ran depends on what the name cache held.
std::string Documents(const std::string& transcript) {
    std::string kept;
    for (const std::string& line : SplitText(transcript, '\n'))
        if (line.compare(0, 4, "log ") != 0)
            kept += line + "\n";
    return kept;
}

class FaultSweepTest : public OperationsTest, public ::testing::WithParamInterface<SweepCase> {
  protected:
    // Runs the case's step on a fresh object after its setup, the plan in force for the step
    // only; then, without faults, the step again (its result), ClearCache, the step and the
    // probe (their documents). Returns the transcripts of the faulted step and of what
    // followed.
    std::pair<std::string, std::string> Once(const char* plan) {
        ResetMail();
        IKorvoLotus* object = DllGetKorvoLotusClassObject();
        RunAll(GetParam().setup, object);
        NotesrtSetFaults(plan);
        const std::string faulted = Step(object);
        m_reached = NotesrtFaultCallCount();
        char failed[512] = "";
        NotesrtFailedCalls(failed, sizeof failed);
        m_failed = SplitText(failed, ',');
        m_faultTrace = m_trace;
        NotesrtSetFaults(nullptr);
        std::string after;
        if (GetParam().repeatable)
            after = ResultLine(Step(object));
        std::string again = Run("clear", object);
        again += Step(object);
        again += RunAll(GetParam().probe, object);
        after += Documents(again);
        DllDeleteKorvoLotusClassObject();
        NotesrtReset();
        return {faulted, after};
    }

    // Runs the case's step; after "destroy" object is the process's new object.
    std::string Step(IKorvoLotus*& object) {
        if (GetParam().step != "destroy")
            return Run(GetParam().step, object);
        korvo_test::TakeTraceLines();
        DllDeleteKorvoLotusClassObject();
        object = DllGetKorvoLotusClassObject();
        m_trace = korvo_test::TakeTraceLines();
        NotesrtCounts counts{};
        NotesrtGetCounts(&counts);
        EXPECT_EQ(counts.databases, 0u) << "destroy";
        korvo_test::ExpectBaseline("destroy");
        return "> destroy\nresult 0\n";
    }

    // The failed call was reported as kReportedAs says, or by the error handler under its
    // own name. A name search that finds nothing (ERR_NOT_FOUND) is an answer, not an error.
    bool Reported(const std::string& call, STATUS status) const {
        const auto rule = kReportedAs.find(call);
        if (rule != kReportedAs.end() && rule->second == nullptr)
            return true;
        if (call == "NIFFindByName" && status == ERR_NOT_FOUND)
            return true;
        const std::string label = rule == kReportedAs.end() ? call : rule->second;
        for (const TraceLine& line : m_faultTrace) {
            const size_t end = line.message.find(" -- error[");
            if (line.function == "NotesAPIErrHandler" && end != std::string::npos &&
                line.message.substr(0, end).find(label) != std::string::npos)
                return true;
        }
        return false;
    }

    uint32_t m_reached = 0;              // runtime calls the faulted step made
    std::vector<std::string> m_failed;   // the calls the plan failed, in order
    std::vector<TraceLine> m_faultTrace; // what the faulted step logged
};

TEST_P(FaultSweepTest, EveryFailedCallGivesAnAllowedResultAndLeavesNothingBehind) {
    const SweepCase& row = GetParam();
    const std::pair<std::string, std::string> clean = Once(nullptr);
    const uint32_t calls = m_reached;
    size_t points = 0;
    for (const Mode& mode : kModes) {
        for (uint32_t n = 1; n <= calls; ++n) {
            char plan[64];
            std::snprintf(plan, sizeof plan, "*@%u%s=%u", n, mode.onward ? "+" : "",
                          static_cast<unsigned>(mode.status));
            SCOPED_TRACE(row.step + " with " + plan + " (" + mode.name + ")");
            const std::pair<std::string, std::string> run = Once(plan);
            ++points;
            ASSERT_FALSE(m_failed.empty()) << "call " << n << " was not reached";
            const size_t at = run.first.find("result ");
            ASSERT_NE(at, std::string::npos);
            EXPECT_NE(row.results.find(run.first[at + 7]), std::string::npos) << run.first;
            EXPECT_TRUE(Reported(m_failed.front(), mode.status))
                << m_failed.front() << " not reported";
            if (!row.sticky.empty() &&
                std::find(m_failed.begin(), m_failed.end(), row.sticky) != m_failed.end())
                continue;
            EXPECT_EQ(run.second, clean.second) << "after " << m_failed.front() << " failed";
        }
    }
    std::printf("%s: %u calls, %zu fault points swept\n", row.name.c_str(), calls, points);
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultSweepTest, ::testing::ValuesIn(Sweeps()),
                         [](const ::testing::TestParamInfo<SweepCase>& param) {
                             return param.param.name;
                         });

} // namespace
