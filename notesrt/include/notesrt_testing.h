// The substitute runtime's own calls for tests and tools: fault injection and the counts of
// what is open. The library never includes this header.
#pragma once

#include "notesapi.h"

#include <stddef.h>

extern "C" {

// What the runtime holds open at the moment of the call.
typedef struct {
    uint32_t databases;          // open database handles
    uint32_t notes;              // open note handles
    uint32_t collections;        // open collections
    uint32_t memoryAllocated;    // memory handles not yet freed
    uint32_t memoryLocked;       // memory handles locked at least once
    uint32_t mimeDirectories;    // open MIME directories
    uint32_t scheduleContainers; // schedule containers not yet released
} NotesrtCounts;

// Fills *counts (all zero when the runtime is not started).
NOTESRT_API void NotesrtGetCounts(NotesrtCounts* counts);

// Lock count of a memory handle; -1 when the handle is not valid.
NOTESRT_API int NotesrtMemLockCount(DHANDLE handle);

// Replaces the fault plan and restarts the call counts. plan is a comma-separated list of
// CALL@N=STATUS (the N-th call of CALL, counted from 1, returns STATUS and does nothing
// else), CALL@N+=STATUS (the N-th and every later call) and *@N=STATUS (the N-th call of any
// name); STATUS is decimal or 0x-hexadecimal and not 0. Null or empty clears the plan.
// Returns the number of entries that were not understood (they are left out). Without this
// call the plan comes from $NOTESRT_FAULTS, read when the runtime is first used.
// NSFItemGetText, NSFItemConvertToText, NSFItemGetTime and TimeGMToLocal, which answer with a
// length or a flag, take part too: a planned failure makes them answer 0 (1 for
// TimeGMToLocal) and do nothing else; STATUS is then only a marker. The other calls without a
// status (locks, note attributes, has-MIME-part, entity kind and type, comparisons, the
// current time, the settings record) are never failed and not counted. The calls that
// close or free (NSFDbClose, NSFNoteClose, NIFCloseCollection, OSMemFree, MIMEFreeDirectory,
// MailCloseMessage, MailCloseMessageFile) return the planned status but release their handle
// all the same. The steps of a database write that the system may refuse take part by name
// only (FileLock, FileWrite, FileFlush, FileRename, FolderFlush; never through *@N and not
// counted): a planned failure makes the step fail as the system's refusal would.
NOTESRT_API int NotesrtSetFaults(const char* plan);

// The number of calls counted (those that take part in the plan) since the plan was last
// set: a sweep that fails call N for N beyond this count has reached the operation's end.
NOTESRT_API uint32_t NotesrtFaultCallCount(void);

// Copies the names of the calls the plan failed since it was last set, comma-separated in
// order, into buffer (at most size bytes with the terminating zero; cut when longer) and
// returns the full length. buffer may be null when size is 0.
NOTESRT_API size_t NotesrtFailedCalls(char* buffer, size_t size);

// Starts (on non-zero) or stops timing the runtime's calls. Off when the process starts, as
// reading the clock twice a call is a cost of its own; not changed by NotesrtReset.
NOTESRT_API void NotesrtTimeCalls(int on);

// Nanoseconds spent inside the runtime's calls (waiting for its lock included) while they were
// timed (NotesrtTimeCalls), for benchmarks that tell a caller's own time from the runtime's.
// Not reset by NotesrtReset.
NOTESRT_API uint64_t NotesrtCallNanoseconds(void);

// Stops the runtime if it is started, clears the fault plan, the call counts, the status
// details and the cache of database files: the state of a fresh process.
NOTESRT_API void NotesrtReset(void);

} // extern "C"
