#include "installation.h"

#include "notesrt_testing.h"

#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <stdexcept>

extern char** environ;

namespace korvo_bench {
namespace {

namespace fs = std::filesystem;

// The program's temporary folder, made on first use and removed at exit.
class ScratchFolder {
  public:
    ~ScratchFolder() {
        if (!m_path.empty()) {
            std::error_code ignored;
            fs::remove_all(m_path, ignored);
        }
    }

    const fs::path& Path() {
        if (m_path.empty()) {
            const char* base = platform::GetEnv("TMPDIR");
            std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                                  "/korvo-bench-XXXXXX";
            if (mkdtemp(pattern.data()) == nullptr)
                throw std::runtime_error("cannot make a folder like " + pattern);
            m_path = pattern;
        }
        return m_path;
    }

  private:
    fs::path m_path; // empty until made
};

ScratchFolder g_scratch;                                          // every installation lies here
std::map<std::vector<std::string>, Installation> g_installations; // by generator options

// Runs the generator with argv, its output discarded; throws unless it exits with 0.
void RunGenerator(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        throw std::runtime_error("korvo-mkinstall failed for " + args[2]);
}

} // namespace

const Installation& GeneratedInstallation(const std::vector<std::string>& options) {
    const auto known = g_installations.find(options);
    if (known != g_installations.end())
        return known->second;
    const fs::path root = g_scratch.Path() / ("install" + std::to_string(g_installations.size()));
    std::vector<std::string> args = {KORVO_MKINSTALL, "--out", root.string()};
    args.insert(args.end(), options.begin(), options.end());
    RunGenerator(args);
    return g_installations[options] = {root.string(), (root / "registry.ini").string()};
}

const Installation& DirectoryInstallation(int64_t people, int64_t appointments) {
    return GeneratedInstallation({"--local", std::to_string(people / 10), "--server",
                                  std::to_string(people - people / 10), "--appointments",
                                  std::to_string(appointments), "--attendees", "10"});
}

uint64_t AddressBookBytes(const Installation& install) {
    const fs::path data = fs::path(install.root) / "data";
    return fs::file_size(data / "names.nsf") + fs::file_size(data / "servers/Mail1/names.nsf");
}

IKorvoLotus* FreshObject(const Installation& install) {
    DllDeleteKorvoLotusClassObject();
    NotesrtReset();
    platform::SetEnv("KORVO_REGISTRY", install.registry.c_str());
    return DllGetKorvoLotusClassObject();
}

IKorvoLotus* StartedObject(const Installation& install) {
    IKorvoLotus* object = FreshObject(install);
    return object->Init(1) == 0 ? object : nullptr;
}

FILETIME DayStart(int year, unsigned month, unsigned day) {
    // Days from 1970-01-01 of the civil date (proleptic Gregorian), then 100 ns ticks from
    // 1601-01-01, which lies 134774 days before.
    year -= month <= 2;
    const int era = year / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days1970 = era * 146097LL + doe - 719468;
    const unsigned long long ticks =
        static_cast<unsigned long long>(days1970 + 134774) * 86400ULL * 10000000ULL;
    return FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

} // namespace korvo_bench
