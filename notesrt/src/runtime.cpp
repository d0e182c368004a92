// The runtime's process-wide state.
#include "runtime.h"

namespace notesrt {

Runtime& TheRuntime() {
    static Runtime runtime;
    return runtime;
}

void StopRuntime(Runtime& runtime) {
    ++runtime.generation;
    runtime.memory.Clear(runtime.generation);
    runtime.databases.Clear(runtime.generation);
    runtime.notes.Clear(runtime.generation);
    runtime.mimeDirectories.Clear(runtime.generation);
    runtime.collections.Clear(runtime.generation);
    runtime.schedules.Clear(runtime.generation);
    runtime.files.Clear();
    runtime.install = Installation();
    runtime.started = false;
}

void FreeOwnedBlocks(Runtime& runtime, uint32_t owner) {
    std::vector<DHANDLE> owned;
    for (const auto& entry : runtime.memory) {
        if (entry.second.owner == owner)
            owned.push_back(entry.first);
    }
    for (const DHANDLE handle : owned)
        runtime.memory.Remove(handle);
}

} // namespace notesrt
