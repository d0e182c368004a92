// Longer inputs for the targets that list this file among their sources: libFuzzer draws
// inputs of at most 4 KB unless told otherwise, too short to nest a file deeply or to make it
// large, so these targets run with -max_len=262144 unless their command line names a length.
// libFuzzer reads its options after LLVMFuzzerInitialize, which may change them; the replay
// runner never calls it.
#include <cstring>
#include <vector>

namespace {

constexpr char kMaxLength[] = "-max_len=262144"; // 256 KB

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> arguments;
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0)
            return 0;
    }
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, const_cast<char*>(kMaxLength));
    arguments.push_back(nullptr);
    *argc += 1;
    *argv = arguments.data();
    return 0;
}
