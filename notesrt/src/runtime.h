// The runtime's process-wide state and the frame every call runs in.
#pragma once

#include "calendarcursor.h"
#include "collections.h"
#include "model.h"
#include "dbfiles.h"
#include "faults.h"
#include "handles.h"
#include "ini.h"
#include "mimedirectory.h"
#include "schedulecontainer.h"
#include "status.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace notesrt {

// How many entries the calls that answer in pieces put into one answer.
struct PieceSizes {
    uint32_t collection = 1000; // entries per NIFReadEntries answer
    uint32_t calendar = 0;      // VEVENTs per calendar answer; 0: as many as fit
    uint32_t schedule = 100;    // entries per schedule list
};

// The installation the runtime was started with.
struct Installation {
    std::filesystem::path iniFile;       // notes.ini
    std::filesystem::path dataDirectory; // the Directory variable, made absolute
    std::filesystem::path idFile;        // the KeyFileName variable, made absolute
    std::string userName;                // canonical name from the ID file's first line
    IniFile ini;                         // every notes.ini variable
    PieceSizes pieces;                   // the Notesrt...Piece variables
};

// A memory block behind a memory handle.
struct MemoryBlock {
    std::vector<char> bytes; // the block's content
    uint16_t blockType = 0;  // the type given at allocation
    uint32_t locks = 0;      // lock count
    uint32_t owner = 0;      // the note or MIME directory the block belongs to; 0: the caller's
};

// An open database handle.
struct OpenDatabase {
    std::shared_ptr<Model> db; // the model, shared with other handles of the same file
    std::string path;          // the path it was opened with
    CalendarCursor calendar;   // where an identical CalReadRange continues
};

// An open note handle: the note as it was read, with the changes made through the handle. Its
// items stay in the database's model until one is changed through the handle; then the note
// gets a model of its own.
struct OpenNote {
    DBHANDLE dbHandle = 0;                    // _NOTE_DB: the handle it was opened through
    NOTEID noteId = 0;                        // _NOTE_ID
    ORIGINATORID oid = {};                    // _NOTE_OID
    uint16_t noteClass = NOTE_CLASS_DOCUMENT; // _NOTE_CLASS
    std::shared_ptr<const Model> items;       // the model holding the note's items
    size_t position = 0;                      // the note's position in it
    std::shared_ptr<Model> ownItems;          // items, when they are the note's own; else null
    bool rawMime = false;                     // OPEN_RAW_MIME; else MIME shows as rich text
    std::map<size_t, DHANDLE> valueBlocks;    // value blocks handed out, by item position

    const NoteRecord& Record() const { return items->Notes()[position]; }

    // The item at index as the handle shows it.
    ItemView ItemAt(size_t index) const { return items->ItemAt(Record(), index, rawMime); }
};

// A time list's text, as rendered for NSFItemConvertToText.
struct TimesText {
    std::string times;  // the list's stored form
    char separator = 0; // between the entries
    std::string zone;   // ZoneIdentity when it was made (os.h)
    std::string text;   // the text
};

// The texts of the time lists read as text last. The library reads a repeating appointment's
// start and end lists whole, one after the other, for each instance it lists; keeping both
// makes that linear in the instances.
struct TimesTextCache {
    static constexpr size_t kLists = 4; // lists kept
    TimesText lists[kLists];            // the lists kept
    size_t next = 0;                    // the one replaced next
};

// Largest memory block the runtime hands out.
constexpr size_t kMaxBlockSize = 256u * 1024u * 1024u;

// Everything the runtime holds. Guarded by mutex; the calls take it for their whole run.
struct Runtime {
    std::mutex mutex;                                     // one call at a time
    bool started = false;                                 // NotesInitExtended succeeded
    uint32_t generation = 0;                              // bumped by every start and stop
    Installation install;                                 // valid while started
    HandleTable<MemoryBlock> memory{1, 20, 8};            // memory handles
    HandleTable<OpenDatabase> databases{2, 20, 8};        // database handles
    HandleTable<OpenNote> notes{3, 20, 8};                // note handles
    HandleTable<MimeDirectory> mimeDirectories{4, 20, 8}; // MIME directory handles
    HandleTable<Collection> collections{1, 10, 5};        // collection handles (16 bits)
    HandleTable<ScheduleContainer> schedules{6, 20, 8};   // schedule containers
    DatabaseFiles files;                                  // database files read so far
    TimesTextCache timesText;                             // the time list read as text last
    std::atomic<bool> timeCalls{false};                   // whether calls add to callNanoseconds
    uint64_t callNanoseconds = 0;                         // time spent inside calls so far
};

Runtime& TheRuntime();

// The runtime's lock for the length of one call; while timeCalls is set, the call's time, lock
// wait included, is added to callNanoseconds as it ends (still under the lock).
class CallScope {
  public:
    explicit CallScope(Runtime& runtime)
        : m_runtime(runtime), m_timed(runtime.timeCalls.load(std::memory_order_relaxed)),
          m_start(m_timed ? std::chrono::steady_clock::now()
                          : std::chrono::steady_clock::time_point()),
          m_lock(runtime.mutex) {}
    ~CallScope() {
        if (m_timed)
            m_runtime.callNanoseconds +=
                static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now() - m_start)
                                          .count());
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

  private:
    Runtime& m_runtime;                            // whose clock runs
    bool m_timed;                                  // whether this call is timed
    std::chrono::steady_clock::time_point m_start; // when the call began, if timed
    std::lock_guard<std::mutex> m_lock;            // held for the whole call
};

// Releases every handle and forgets the installation; the runtime is stopped afterwards.
void StopRuntime(Runtime& runtime);

// Removes every memory block that belongs to owner.
void FreeOwnedBlocks(Runtime& runtime, uint32_t owner);

// Runs body (returning STATUS) on runtime; exceptions become statuses.
template <typename Body> STATUS Guarded(Runtime& runtime, Body body) {
    try {
        return body(runtime);
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    } catch (...) {
        return kErrInternal;
    }
}

// Runs body (returning STATUS) as the runtime call name: under the runtime's lock, after the
// fault check, and, when needsStart, only while the runtime is started. Exceptions become
// statuses.
template <typename Body> STATUS RunCall(const char* name, bool needsStart, Body body) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    if (STATUS injected = CheckFault(name))
        return injected;
    if (needsStart && !runtime.started)
        return kErrNotStarted;
    return Guarded(runtime, body);
}

// As RunCall (the runtime started) for a call that gives something up whatever its outcome:
// release runs after body under the same lock even when a planned fault, a stopped runtime or
// body failed. Returns the first failure of these three, else release's status.
template <typename Body, typename Release>
STATUS RunCallThenRelease(const char* name, Body body, Release release) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    STATUS status = CheckFault(name);
    if (status == 0 && !runtime.started)
        status = kErrNotStarted;
    if (status == 0)
        status = Guarded(runtime, body);
    const STATUS released = Guarded(runtime, release);
    return status != 0 ? status : released;
}

// A call that closes or frees a handle: a planned fault is returned, but the handle is
// released all the same, since its owner can do nothing else with it. A sweep that fails a
// close therefore checks the caller's handling of the status, not a leak the caller could not
// have avoided.
template <typename Release> STATUS RunReleaseCall(const char* name, Release release) {
    return RunCallThenRelease(
        name, [](Runtime&) -> STATUS { return 0; }, release);
}

// As RunCall for a call that answers with a value instead of a status: a planned fault, a
// stopped runtime and an exception answer failed.
template <typename Result, typename Body>
Result RunValueCall(const char* name, Result failed, Body body) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    if (CheckFault(name) != 0 || !runtime.started)
        return failed;
    try {
        return body(runtime);
    } catch (...) {
        return failed;
    }
}

// As RunValueCall for a call that cannot be failed by plan.
template <typename Result, typename Body> Result RunPlainCall(Result failed, Body body) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    if (!runtime.started)
        return failed;
    try {
        return body(runtime);
    } catch (...) {
        return failed;
    }
}

// Opens the database file a path names ("server!!file" or local) into a new database handle,
// written to *handle; a status when the path, the server or the file is bad.
STATUS OpenDatabaseFile(Runtime& runtime, const char* path, uint32_t* handle);

} // namespace notesrt
