// A Notes installation in a temporary folder.
#include "temp_install.h"

#include "notesrt_testing.h"

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempInstall::TempInstall() {
    std::random_device seed;
    std::mt19937_64 random(
        seed() ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("notesrt-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            root = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempInstall::~TempInstall() {
    NotesrtReset();
    std::error_code error;
    fs::remove_all(root, error);
}

void TempInstall::Write(const std::string& relative, const std::string& content) const {
    const fs::path file = root / fs::u8path(relative);
    fs::create_directories(file.parent_path());
    std::ofstream stream(file, std::ios::binary);
    stream << content;
}

void TempInstall::CopyFixture(const std::string& fixture, const std::string& relative) const {
    std::ifstream stream(FixturePath(fixture), std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    if (!stream)
        throw std::runtime_error("missing fixture " + fixture);
    Write(relative, content.str());
}

void TempInstall::WriteStandard(const std::string& extraIni) const {
    Write("notes.ini", "[Notes]\nDirectory=data\nKeyFileName=user.id\n" + extraIni);
    Write("data/user.id", "CN=Ann Lee/O=Acme\n");
}

STATUS TempInstall::Start() const {
    std::string program = root.string();
    std::string ini = "=" + (root / "notes.ini").string();
    char* argv[] = {program.data(), ini.data()};
    return NotesInitExtended(2, argv);
}

std::string TempInstall::Read(const std::string& relative) const {
    std::ifstream stream(root / fs::u8path(relative), std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

fs::path FixturePath(const std::string& fixture) {
    return fs::path(NOTESRT_FIXTURES) / fixture;
}

std::string StatusText(STATUS status) {
    char text[512] = {};
    OSLoadString(nullptr, status, text, sizeof text - 1);
    return text;
}
