// notes.ini as the runtime reads it: any bytes parsed by IniFile::Parse, then written as the
// notes.ini of a small installation and started with NotesInitExtended. Checked: every
// KEY=VALUE line's key is found, ignoring case, with the value of its first line; a start
// that fails has a status with a text (and never the runtime's internal error); a start that
// succeeds serves every variable through OSGetEnvironmentString as parsed, and knows a user;
// nothing is left open either way.
#include "ini.h"
#include "notesrt_testing.h"
#include "scratch_folder.h"
#include "status.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The most variables read back through the runtime per input.
constexpr size_t kMaxKeysChecked = 64;

// The folder holding the fuzzed notes.ini and the ID files it may name: user.id,
// data/user.id, locked.id (the ID file is locked) and empty.id.
class Installation : public korvo_fuzz::ScratchFolder {
  public:
    Installation() : ScratchFolder("notes-ini") {
        Write("user.id", "CN=Fuzz Lee/O=Acme\n");
        Write("data/user.id", "CN=Data Lee/O=Acme\r\n");
        Write("locked.id", "CN=Fuzz Lee/O=Acme\nlocked\n");
        Write("empty.id", "");
    }
};

void Require(bool condition) {
    if (!condition)
        std::abort();
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// One variable as the lines of the file give it.
struct Variable {
    std::string key;   // as written, blanks around it dropped
    std::string value; // of the first line with this key
};

// The variables of text, each with the value of its first line.
std::vector<Variable> LinesOf(const std::string& text) {
    std::vector<Variable> variables;
    std::vector<std::string> seen; // lower-case keys met so far
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = TrimBlanks(line.substr(0, equals));
        const std::string lower = LowerAscii(key);
        if (key.empty() || std::find(seen.begin(), seen.end(), lower) != seen.end())
            continue;
        seen.push_back(lower);
        variables.push_back(Variable{key, line.substr(equals + 1)});
    }
    return variables;
}

// True when a path value of notes.ini stays inside the installation folder.
bool StaysInside(const notesrt::IniFile& ini, const char* key) {
    const std::string value = ini.Get(key, "");
    return value.find("..") == std::string::npos && (value.empty() || value[0] != '/');
}

void CheckStarted(const std::vector<Variable>& variables) {
    char name[MAXUSERNAME] = {};
    Require(SECKFMGetUserName(name) == 0 && name[0] != '\0');
    size_t checked = 0;
    for (const Variable& variable : variables) {
        if (variable.key.find('\0') != std::string::npos)
            continue;
        if (++checked > kMaxKeysChecked)
            break;
        char value[MAXENVVALUE] = {};
        Require(OSGetEnvironmentString(UpperAscii(variable.key).c_str(), value, MAXENVVALUE - 1) ==
                1);
        const size_t length = std::min<size_t>(variable.value.size(), MAXENVVALUE - 1);
        Require(std::memcmp(value, variable.value.data(), length) == 0 && value[length] == '\0');
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Installation installation;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const notesrt::IniFile ini = notesrt::IniFile::Parse(text);
    const std::vector<Variable> variables = LinesOf(text);
    for (const Variable& variable : variables) {
        const std::string* value = ini.Find(variable.key);
        Require(value != nullptr && *value == variable.value);
        Require(ini.Find(UpperAscii(variable.key)) == value);
    }

    if (!StaysInside(ini, "Directory") || !StaysInside(ini, "KeyFileName"))
        return 0;
    installation.Write("notes.ini", text);
    const STATUS status = installation.StartRuntime();
    if (status != 0) {
        char message[256];
        Require(ERR(status) != notesrt::kErrInternal);
        Require(OSLoadString(nullptr, status, message, sizeof message) > 0);
    } else {
        CheckStarted(variables);
    }
    Require(korvo_fuzz::RuntimeHoldsNothing());
    NotesrtReset();
    return 0;
}
