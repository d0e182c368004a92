#include "notes_installation.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>

namespace korvo_test {
namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + PathText(path));
}

std::filesystem::path NewFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
        auto path = std::filesystem::temp_directory_path() /
                    ("korvo-notes-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(path))
            return path;
    }
}

} // namespace

std::string PathText(const std::filesystem::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

NotesInstallation::NotesInstallation(std::vector<std::string> iniLines, const std::string& userName)
    : m_root(NewFolder()), m_userName(userName) {
    std::string ini = "[Notes]\nDirectory=data\nKeyFileName=user.id\n";
    for (const std::string& line : iniLines)
        ini += line + "\n";
    WriteText(IniPath(), ini);
    WriteDataFile("user.id", m_userName + "\n");
}

NotesInstallation::~NotesInstallation() {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void NotesInstallation::WriteDataFile(const std::string& relativePath,
                                      const std::string& text) const {
    WriteText(DataDirectory() / relativePath, text);
}

void NotesInstallation::LockIdFile() const {
    WriteDataFile("user.id", m_userName + "\nlocked\n");
}

} // namespace korvo_test
