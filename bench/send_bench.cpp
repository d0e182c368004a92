// Sending a memo through the interface object: SendMail with the user's mail file holding
// 1,000 or 10,000 meetings (ten attendees each) and 100 people in the directory; the memo goes
// into the server's mail.box and into the mail file, each written to the disk. Warm: after
// Init and a first send. The reference writes the mail file's bytes once as the runtime
// writes a file: a new file flushed to the disk, renamed over the old one, the folder flushed.
// Only the call is timed (manual time). Counter: file_MB, the mail file's size.
#include "bench_support.h"
#include "installation.h"

#include "platform/oleauto.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

const korvo_bench::Installation& MailInstallation(int64_t meetings) {
    return korvo_bench::GeneratedInstallation(
        {"--local", "10", "--server", "90", "--appointments", std::to_string(meetings)});
}

fs::path MailFile(const korvo_bench::Installation& install) {
    return fs::path(install.root) / "data/servers/Mail1/mail/user.nsf";
}

double SecondsSince(std::chrono::steady_clock::time_point began) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

// One memo sent; false when SendMail failed.
bool Send(IKorvoLotus* object, int number, double& seconds) {
    const CString subject = korvo_bench::Wide("Memo " + std::to_string(number));
    BSTR subjectText = platform::SysAllocString(subject.c_str());
    BSTR recipients = platform::SysAllocString(KORVO_W("bo.chen@acme.example"));
    BSTR body = platform::SysAllocString(KORVO_W("Line one\r\nLine two"));
    const auto began = std::chrono::steady_clock::now();
    const int32_t result = object->SendMail(subjectText, recipients, body, 0);
    seconds = SecondsSince(began);
    for (BSTR text : {subjectText, recipients, body})
        platform::SysFreeString(text);
    return result == 1;
}

void SendMemo(benchmark::State& state) {
    const korvo_bench::Installation* install = korvo_bench::InstallationOrSkip(
        state, [&]() -> auto& { return MailInstallation(state.range(0)); });
    if (install == nullptr)
        return;
    IKorvoLotus* object = korvo_bench::StartedObject(*install);
    double seconds = 0;
    int number = 0;
    if (object == nullptr || !Send(object, ++number, seconds)) {
        state.SkipWithError("Init or the first send failed");
        DllDeleteKorvoLotusClassObject();
        return;
    }
    for (auto _ : state) {
        const bool sent = Send(object, ++number, seconds);
        state.SetIterationTime(seconds);
        if (!sent) {
            state.SkipWithError("SendMail failed");
            break;
        }
    }
    DllDeleteKorvoLotusClassObject();
    state.counters["file_MB"] = static_cast<double>(fs::file_size(MailFile(*install))) / 1e6;
}

// Writes bytes to path's folder as a new file, flushed, renamed over path, the folder flushed.
bool WriteDurably(const fs::path& path, const std::string& bytes) {
    const fs::path temporary = path.string() + ".bench.tmp";
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    bool written = file >= 0 &&
                   write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                   fsync(file) == 0;
    if (file >= 0)
        written = close(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0)
        return false;
    const int folder = open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    const bool flushed = folder >= 0 && fsync(folder) == 0;
    if (folder >= 0)
        close(folder);
    return flushed;
}

void RewriteFile(benchmark::State& state) {
    const korvo_bench::Installation* install = korvo_bench::InstallationOrSkip(
        state, [&]() -> auto& { return MailInstallation(state.range(0)); });
    if (install == nullptr)
        return;
    const fs::path file = MailFile(*install);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const fs::path copy = file.string() + ".bench";
    for (auto _ : state) {
        const auto began = std::chrono::steady_clock::now();
        const bool written = WriteDurably(copy, bytes);
        state.SetIterationTime(SecondsSince(began));
        if (!written) {
            state.SkipWithError("the file could not be written");
            break;
        }
    }
    std::error_code error;
    fs::remove(copy, error);
    state.SetLabel("reference");
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    for (const int64_t meetings : korvo_bench::Sizes({1000, 10000})) {
        benchmark::RegisterBenchmark("SendMail/rewrite", RewriteFile)
            ->Arg(meetings)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("SendMail/send", SendMemo)
            ->Arg(meetings)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    return korvo_bench::RunRegisteredBenchmarks(argc, argv);
}
