// ScratchFolder::StartRuntime, apart from the folder itself so that targets without a
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

} // namespace korvo_fuzz
