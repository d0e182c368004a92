// Notes installations generated for the benchmarks with korvo-mkinstall, and the interface
// object started on one.
#pragma once

#include "KorvoLotusC.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace korvo_bench {

// A generated installation in this program's temporary folder (under $TMPDIR, else /tmp),
// which is removed with everything in it when the program ends.
struct Installation {
    std::string root;     // the installation folder
    std::string registry; // its registry store, naming notes.ini and the program directory
};

// The installation korvo-mkinstall writes with these options (besides --out), generated on
// the first request and reused for the same options afterwards. Throws std::runtime_error
// when the generator cannot be run or fails.
const Installation& GeneratedInstallation(const std::vector<std::string>& options);

// A directory of people: one in ten in the local address book, the rest in the server's, and
// a mail file with appointments meetings of the week of 2026-12-07, ten attendees each.
const Installation& DirectoryInstallation(int64_t people, int64_t appointments);

// The installation make() returns; null, with the benchmark skipped for the generator's error,
// when it cannot be made.
template <typename Make>
const Installation* InstallationOrSkip(benchmark::State& state, Make make) {
    try {
        return &make();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return nullptr;
    }
}

// Bytes of the local and the server address book files of install.
uint64_t AddressBookBytes(const Installation& install);

// Destroys the process's interface object, puts the runtime into the state of a fresh
// process (no database file read yet), points the library at install and returns the new
// object, not yet initialised. It lives until DllDeleteKorvoLotusClassObject.
IKorvoLotus* FreshObject(const Installation& install);

// FreshObject after Init(1); null when Init failed.
IKorvoLotus* StartedObject(const Installation& install);

// The FILETIME whose UTC fields are the given day at 00:00.
FILETIME DayStart(int year, unsigned month, unsigned day);

} // namespace korvo_bench
