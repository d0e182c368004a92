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
    runtime.files.Clear();
    runtime.install = Installation();
    runtime.started = false;
}

} // namespace notesrt
