// Fault injection: planned failures of the calls that return a status.
#pragma once

#include "notesapi.h"

#include <string>

namespace notesrt {

// Counts one call of the named runtime call and returns the status the plan gives it, 0
// when it is not to fail. Every call that returns a status passes here first and does
// nothing else when the answer is not 0.
STATUS CheckFault(const char* call);

// True when the plan fails this run of step: a step of a call that the operating system may
// refuse (taking a file lock, writing, flushing or renaming a file), so that the call takes
// the path it takes when the system refuses. Only rules that name the step match it, not
// "*@N"; its runs are counted by name but not among the calls, so planned failures of calls
// keep their numbers.
bool StepRefused(const char* step);

// Replaces the plan with the entries of text (see NotesrtSetFaults) and restarts the call
// counts. Returns the number of entries that were not understood.
int SetFaultPlan(const char* text);

// The calls counted since the plan was last set.
uint32_t FaultCallCount();

// The names of the calls the plan failed since it was last set, comma-separated in order.
std::string FailedCalls();

// Forgets the plan and the counts; the next call reads $NOTESRT_FAULTS again.
void ResetFaults();

} // namespace notesrt
