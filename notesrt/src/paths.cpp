// Network paths and server folders; OSPathNetConstruct and OSPathNetParse.
#include "paths.h"

#include <cstring>

namespace notesrt {
namespace {

constexpr const char* kSeparator = "!!";

bool StartsWithCn(const std::string& name) {
    return name.size() >= 3 && (name[0] == 'C' || name[0] == 'c') &&
           (name[1] == 'N' || name[1] == 'n') && name[2] == '=';
}

} // namespace

NetPath SplitNetPath(const std::string& path) {
    NetPath parts;
    const size_t first = path.find(kSeparator);
    if (first == std::string::npos) {
        parts.file = path;
        return parts;
    }
    const size_t second = path.find(kSeparator, first + 2);
    if (second == std::string::npos) {
        parts.server = path.substr(0, first);
        parts.file = path.substr(first + 2);
        return parts;
    }
    parts.port = path.substr(0, first);
    parts.server = path.substr(first + 2, second - first - 2);
    parts.file = path.substr(second + 2);
    return parts;
}

std::string CommonName(const std::string& name) {
    const std::string rest = StartsWithCn(name) ? name.substr(3) : name;
    return rest.substr(0, rest.find('/'));
}

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::u8path(text);
}

STATUS ServerFolder(const Installation& install, const std::string& server,
                    std::filesystem::path& folder) {
    const std::string common = CommonName(server);
    if (common.empty() || common == "." || common == ".." ||
        common.find_first_of("\\:") != std::string::npos)
        return Fail(kErrServerUnreachable, server);
    const std::filesystem::path candidate =
        install.dataDirectory / "servers" / PathFromUtf8(common);
    std::error_code error;
    if (!std::filesystem::is_directory(candidate, error))
        return Fail(kErrServerUnreachable, server);
    folder = candidate;
    return 0;
}

STATUS ResolveFile(const Installation& install, const std::string& path,
                   std::filesystem::path& file) {
    const NetPath parts = SplitNetPath(path);
    if (parts.file.empty())
        return Fail(kErrFileNotFound, path);
    std::filesystem::path base = install.dataDirectory;
    if (!parts.server.empty()) {
        if (STATUS status = ServerFolder(install, parts.server, base))
            return status;
    }
    file = base / PathFromUtf8(parts.file);
    return 0;
}

} // namespace notesrt

using namespace notesrt;

namespace {

// Copies text into a MAXPATH buffer (when there is one); false when it does not fit.
bool CopyPathPart(const std::string& text, char* buffer) {
    if (text.size() > MAXPATH - 1)
        return false;
    if (buffer != nullptr)
        std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC OSPathNetConstruct(const char* port, const char* server,
                                                          const char* file, char* path) {
    return RunCall("OSPathNetConstruct", false, [&](Runtime&) -> STATUS {
        if (path == nullptr)
            return kErrInvalidArgument;
        const std::string portText = port == nullptr ? "" : port;
        const std::string serverText = server == nullptr ? "" : server;
        std::string joined = file == nullptr ? "" : file;
        if (!serverText.empty()) {
            joined = serverText + kSeparator + joined;
            if (!portText.empty())
                joined = portText + kSeparator + joined;
        }
        if (!CopyPathPart(joined, path))
            return Fail(kErrPathTooLong, std::to_string(joined.size()) + " characters");
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC OSPathNetParse(const char* path, char* port, char* server,
                                                      char* file) {
    return RunCall("OSPathNetParse", false, [&](Runtime&) -> STATUS {
        if (path == nullptr)
            return kErrInvalidArgument;
        const NetPath parts = SplitNetPath(path);
        if (parts.port.size() > MAXPATH - 1 || parts.server.size() > MAXPATH - 1 ||
            parts.file.size() > MAXPATH - 1) {
            for (char* out : {port, server, file}) {
                if (out != nullptr)
                    out[0] = '\0';
            }
            return Fail(kErrPathTooLong, path);
        }
        CopyPathPart(parts.port, port);
        CopyPathPart(parts.server, server);
        CopyPathPart(parts.file, file);
        return 0;
    });
}
