// Network paths ("server!!file") and the folders that stand for servers.
#pragma once

#include "runtime.h"

#include <filesystem>
#include <string>

namespace notesrt {

// The parts of a network path.
struct NetPath {
    std::string port;   // port name; empty when the path names none
    std::string server; // server name; empty for a local file
    std::string file;   // file name
};

// Splits "port!!server!!file", "server!!file" or "file".
NetPath SplitNetPath(const std::string& path);

// The common name of a server's name: the text between "CN=" and the first "/" of a
// canonical name, the text before the first "/" of an abbreviated one.
std::string CommonName(const std::string& name);

// A path written as UTF-8 text.
std::filesystem::path PathFromUtf8(const std::string& text);

// The folder of server: <data directory>/servers/<common name>. Fails with
// kErrServerUnreachable when the name maps to no folder or the folder does not exist.
STATUS ServerFolder(const Installation& install, const std::string& server,
                    std::filesystem::path& folder);

// The file a network path names: relative to the server's folder, or to the data directory
// for a local path; an absolute file name stays as it is.
STATUS ResolveFile(const Installation& install, const std::string& path,
                   std::filesystem::path& file);

} // namespace notesrt
