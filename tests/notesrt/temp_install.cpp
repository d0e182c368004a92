// A Notes installation in a temporary folder, a database open in it, shared helpers.
#include "temp_install.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
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
    return FileBytes(root / fs::u8path(relative));
}

void OpenDatabaseTest::OpenWith(const std::string& file, const std::string& content,
                                const std::string& extraIni) {
    install.WriteStandard(extraIni);
    install.Write("data/" + file, content);
    ASSERT_EQ(install.Start(), 0);
    ASSERT_EQ(NSFDbOpen(file.c_str(), &db), 0);
}

void OpenDatabaseTest::TearDown() {
    NotesrtSetFaults(nullptr);
    if (db != 0) {
        EXPECT_EQ(NSFDbClose(db), 0);
    }
    const NotesrtCounts c = Counts();
    EXPECT_EQ(c.databases + c.notes + c.collections + c.mimeDirectories + c.memoryAllocated +
                  c.memoryLocked,
              0u);
}

NOTEHANDLE OpenDatabaseTest::Open(NOTEID noteId, uint32_t flags) const {
    NOTEHANDLE note = 0;
    EXPECT_EQ(NSFNoteOpenExt(db, noteId, flags, &note), 0);
    return note;
}

fs::path FixturePath(const std::string& fixture) {
    return fs::path(NOTESRT_FIXTURES) / fixture;
}

std::string StatusText(STATUS status) {
    char text[512] = {};
    OSLoadString(nullptr, status, text, sizeof text - 1);
    return text;
}

NotesrtCounts Counts() {
    NotesrtCounts counts;
    NotesrtGetCounts(&counts);
    return counts;
}

std::string BlockBytes(DHANDLE handle, uint32_t length) {
    const char* bytes = static_cast<const char*>(OSLockObject(handle));
    if (bytes == nullptr)
        return "<invalid handle>";
    std::string copy(bytes, length);
    OSUnlockObject(handle);
    return copy;
}

int64_t UtcSeconds(const TIMEDATE& time) {
    return (static_cast<int64_t>(time.Innards[1] & 0xFFFFFF) - 2440588) * 86400 +
           time.Innards[0] / 100;
}

TIMEDATE LocalTime(const char* text) {
    char* cursor = const_cast<char*>(text);
    TIMEDATE time = {};
    EXPECT_EQ(ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 80, &time), 0) << text;
    return time;
}

std::string ZoneUnderTest() {
    const char* tz = std::getenv("TZ");
    const std::string zone = tz == nullptr ? "" : tz;
    return zone == "UTC" || zone == "America/New_York" ? zone : "";
}

std::vector<Row> DataFile(const std::string& file) {
    return korvo_test::DataRows(fs::path(NOTESRT_TEST_DATA) / file);
}
