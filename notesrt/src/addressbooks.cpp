// NAMEGetAddressBooks: the address books of the installation or of a server.
#include "memory.h"
#include "paths.h"

#include <vector>

using namespace notesrt;

namespace {

// The comma-separated entries of the NAMES variable, blanks around them dropped.
std::vector<std::string> LocalAddressBooks(const IniFile& ini) {
    const std::string names = ini.Get("NAMES", "names.nsf");
    std::vector<std::string> books;
    size_t start = 0;
    while (start <= names.size()) {
        size_t comma = names.find(',', start);
        if (comma == std::string::npos)
            comma = names.size();
        std::string entry = names.substr(start, comma - start);
        const size_t first = entry.find_first_not_of(" \t");
        if (first != std::string::npos)
            books.push_back(entry.substr(first, entry.find_last_not_of(" \t") - first + 1));
        start = comma + 1;
    }
    return books;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC NAMEGetAddressBooks(const char* server, uint16_t options,
                                                           uint16_t* count, uint16_t* length,
                                                           DHANDLE* handle) {
    return RunCall("NAMEGetAddressBooks", true, [&](Runtime& runtime) -> STATUS {
        if (count == nullptr || length == nullptr || handle == nullptr)
            return kErrInvalidArgument;
        const std::string serverName = server == nullptr ? "" : server;
        std::vector<std::string> books;
        if (serverName.empty()) {
            books = LocalAddressBooks(runtime.install.ini);
        } else {
            std::filesystem::path folder;
            if (STATUS status = ServerFolder(runtime.install, serverName, folder))
                return status;
            books.push_back(serverName + "!!names.nsf");
        }
        std::string block;
        for (const std::string& book : books)
            block += book + '\0';
        if (books.size() > 0xFFFF || block.size() > 0xFFFF)
            return kErrNoMemory;
        DHANDLE answer = NULLHANDLE;
        if (!books.empty()) {
            if (STATUS status = NewBlock(runtime, block, &answer))
                return status;
        }
        *count = static_cast<uint16_t>(books.size());
        *length = static_cast<uint16_t>(block.size());
        *handle = answer;
        return 0;
    });
}
