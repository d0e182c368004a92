// The helpers that call the runtime, apart from the folder itself so that targets without a
// runtime link the folder alone.
#include "notesrt_testing.h"
#include "scratch_folder.h"

namespace korvo_fuzz {

STATUS ScratchFolder::StartRuntime() const {
    NotesrtReset();
    std::string program = m_root.string();
    std::string ini = "=" + (m_root / "notes.ini").string();
    char* argv[] = {program.data(), ini.data()};
    return NotesInitExtended(2, argv);
}

bool RuntimeHoldsNothing() {
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    return counts.databases == 0 && counts.notes == 0 && counts.collections == 0 &&
           counts.memoryAllocated == 0 && counts.memoryLocked == 0 && counts.mimeDirectories == 0 &&
           counts.scheduleContainers == 0;
}

} // namespace korvo_fuzz
