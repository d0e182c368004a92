#include "scratch_folder.h"

#include <cstdlib>
#include <fstream>
#include <stdlib.h>

namespace korvo_fuzz {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& name) {
    std::error_code error;
    const fs::path parent =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (parent / ("korvo-fuzz-" + name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    m_root = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    fs::remove_all(m_root, error);
}

void ScratchFolder::Write(const std::string& relative, const std::string& content) const {
    const fs::path path = m_root / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        std::abort();
}

} // namespace korvo_fuzz
