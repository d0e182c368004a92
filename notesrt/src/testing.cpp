// The substitute's own calls for tests: counts, lock counts, fault plan, reset.
#include "notesrt_testing.h"
#include "runtime.h"

using namespace notesrt;

extern "C" NOTESRT_API void NotesrtGetCounts(NotesrtCounts* counts) {
    if (counts == nullptr)
        return;
    Runtime& runtime = TheRuntime();
    std::lock_guard<std::mutex> lock(runtime.mutex);
    *counts = NotesrtCounts{};
    counts->databases = static_cast<uint32_t>(runtime.databases.Size());
    counts->notes = static_cast<uint32_t>(runtime.notes.Size());
    counts->mimeDirectories = static_cast<uint32_t>(runtime.mimeDirectories.Size());
    counts->collections = static_cast<uint32_t>(runtime.collections.Size());
    counts->scheduleContainers = static_cast<uint32_t>(runtime.schedules.Size());
    counts->memoryAllocated = static_cast<uint32_t>(runtime.memory.Size());
    for (const auto& entry : runtime.memory) {
        if (entry.second.locks != 0)
            ++counts->memoryLocked;
    }
}

extern "C" NOTESRT_API int NotesrtMemLockCount(DHANDLE handle) {
    Runtime& runtime = TheRuntime();
    std::lock_guard<std::mutex> lock(runtime.mutex);
    const MemoryBlock* block = runtime.memory.Find(handle);
    return block == nullptr ? -1 : static_cast<int>(block->locks);
}

extern "C" NOTESRT_API int NotesrtSetFaults(const char* plan) {
    return SetFaultPlan(plan);
}

extern "C" NOTESRT_API uint32_t NotesrtFaultCallCount(void) {
    return FaultCallCount();
}

extern "C" NOTESRT_API size_t NotesrtFailedCalls(char* buffer, size_t size) {
    const std::string names = FailedCalls();
    if (buffer != nullptr && size > 0) {
        const size_t copied = names.size() < size ? names.size() : size - 1;
        names.copy(buffer, copied);
        buffer[copied] = '\0';
    }
    return names.size();
}

extern "C" NOTESRT_API void NotesrtReset(void) {
    Runtime& runtime = TheRuntime();
    std::lock_guard<std::mutex> lock(runtime.mutex);
    StopRuntime(runtime);
    ResetFaults();
    ClearStatusDetails();
}

extern "C" NOTESRT_API void NotesrtTimeCalls(int on) {
    TheRuntime().timeCalls.store(on != 0, std::memory_order_relaxed);
}

extern "C" NOTESRT_API uint64_t NotesrtCallNanoseconds(void) {
    Runtime& runtime = TheRuntime();
    std::lock_guard<std::mutex> lock(runtime.mutex);
    return runtime.callNanoseconds;
}
