// Start and stop: NotesInitExtended, NotesTerm; the notes.ini reader and the user's name.
#include "paths.h"
#include "runtime.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace notesrt;

namespace {

namespace fs = std::filesystem;

bool ReadWholeFile(const fs::path& file, std::string& content) {
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return false;
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    if (!stream)
        return false;
    content = text.str();
    return true;
}

// The first line of text from offset, without its line end; offset moves past it.
std::string NextLine(const std::string& text, size_t& offset) {
    size_t end = text.find('\n', offset);
    if (end == std::string::npos)
        end = text.size();
    std::string line = text.substr(offset, end - offset);
    offset = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

// A piece-size variable: a whole number no smaller than minimum, else fallback.
uint32_t PieceSize(const IniFile& ini, const char* key, uint32_t minimum, uint32_t fallback) {
    const std::string* text = ini.Find(key);
    if (text == nullptr || text->empty() || text->size() > 9)
        return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text->c_str(), &end, 10);
    if (*end != '\0' || (*text)[0] < '0' || (*text)[0] > '9' || value < minimum)
        return fallback;
    return static_cast<uint32_t>(value);
}

// Reads notes.ini and the ID file into install.
STATUS LoadInstallation(const fs::path& iniFile, Installation& install) {
    std::string text;
    if (!ReadWholeFile(iniFile, text))
        return Fail(kErrNotesIniNotFound, iniFile.u8string());
    std::error_code error;
    install.iniFile = fs::absolute(iniFile, error);
    install.ini = IniFile::Parse(text);
    const fs::path iniFolder = install.iniFile.parent_path();
    const std::string directory = install.ini.Get("Directory", "");
    install.dataDirectory = directory.empty() ? iniFolder : iniFolder / PathFromUtf8(directory);
    const std::string keyFile = install.ini.Get("KeyFileName", "");
    if (keyFile.empty())
        return Fail(kErrIdFileMissing, iniFile.u8string() + " names no ID file (KeyFileName)");
    install.idFile = install.dataDirectory / PathFromUtf8(keyFile);
    std::string id;
    if (!ReadWholeFile(install.idFile, id))
        return Fail(kErrIdFileMissing, install.idFile.u8string());
    size_t offset = id.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    install.userName = NextLine(id, offset);
    if (install.userName.empty())
        return Fail(kErrIdFileDamaged,
                    install.idFile.u8string() + ": no user name on its first line");
    if (offset < id.size() && NextLine(id, offset) == "locked")
        return ERR_ID_LOCKED;
    install.pieces.collection = PieceSize(install.ini, "NotesrtCollectionPiece", 1, 1000);
    install.pieces.calendar = PieceSize(install.ini, "NotesrtCalendarPiece", 0, 0);
    install.pieces.schedule = PieceSize(install.ini, "NotesrtSchedulePiece", 1, 100);
    return 0;
}

void CopyText(const std::string& text, char* buffer, size_t maxCharacters) {
    const size_t length = text.size() < maxCharacters ? text.size() : maxCharacters;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC NotesInitExtended(int argc, char** argv) {
    return RunCall("NotesInitExtended", false, [&](Runtime& runtime) -> STATUS {
        if (runtime.started)
            return 0;
        std::string programDirectory;
        std::string iniArgument;
        for (int i = 0; argv != nullptr && i < argc; ++i) {
            if (argv[i] == nullptr)
                continue;
            if (i == 0)
                programDirectory = argv[i];
            else if (argv[i][0] == '=' && iniArgument.empty())
                iniArgument = argv[i] + 1;
        }
        const fs::path iniFile = !iniArgument.empty() ? fs::path(iniArgument)
                                 : programDirectory.empty()
                                     ? fs::path("notes.ini")
                                     : fs::path(programDirectory) / "notes.ini";
        Installation install;
        if (STATUS status = LoadInstallation(iniFile, install))
            return status;
        StopRuntime(runtime);
        runtime.install = std::move(install);
        runtime.started = true;
        return 0;
    });
}

extern "C" NOTESRT_API void LNPUBLIC NotesTerm(void) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    if (runtime.started)
        StopRuntime(runtime);
}

extern "C" NOTESRT_API BOOL LNPUBLIC OSGetEnvironmentString(const char* name, char* buffer,
                                                            uint16_t bufferLength) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    if (buffer == nullptr)
        return 0;
    buffer[0] = '\0';
    if (!runtime.started || name == nullptr)
        return 0;
    const std::string* value = runtime.install.ini.Find(name);
    if (value == nullptr)
        return 0;
    CopyText(*value, buffer, bufferLength);
    return 1;
}

extern "C" NOTESRT_API STATUS LNPUBLIC SECKFMGetUserName(char* userName) {
    return RunCall("SECKFMGetUserName", true, [&](Runtime& runtime) -> STATUS {
        if (userName == nullptr)
            return kErrInvalidArgument;
        CopyText(runtime.install.userName, userName, MAXUSERNAME - 1);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC SECKFMUserInfo(uint16_t request, char* buffer,
                                                      LICENSEID* license) {
    return RunCall("SECKFMUserInfo", true, [&](Runtime& runtime) -> STATUS {
        if (request != KFM_ui_GetUserInfo || buffer == nullptr)
            return kErrInvalidArgument;
        CopyText(runtime.install.userName, buffer, MAXUSERNAME - 1);
        if (license != nullptr)
            *license = LICENSEID{};
        return 0;
    });
}
