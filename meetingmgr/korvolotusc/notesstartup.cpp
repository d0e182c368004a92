// Finding the Notes installation and starting and stopping the runtime (part of the
// notesctrl component).
#include "notesstartup.h"

#include "notesclib.h"
#include "notesctrl.h"
#include "stringutil.h"
#include "trace.h"

#include "platform/fs.h"
#include "platform/registry.h"
#include "rk/convert.h"

#include <cstring>

static constexpr char kTraceSource[] = "notesctrl.cpp";

namespace {

constexpr size_t kPathBuffer = 1025;       // bytes of the program directory and ini path
constexpr size_t kRegistryUnits = 1024;    // UTF-16 units read from a registry value
constexpr size_t kLongestValue = 1023;     // bytes of ANSI text a registry value may give
constexpr size_t kIniArgumentBuffer = 290; // bytes of the "=path" argument

const WCHAR kUserSettingKey[] = KORVO_W("Software\\Vendra Systems, Inc.\\MeetingIntegration");
const WCHAR kDefaultIniKey[] = KORVO_W("SOFTWARE\\Lotus\\Notes");
const WCHAR kIbmInstallerKey[] = KORVO_W("SOFTWARE\\IBM\\NOTES\\INSTALLER");
const WCHAR kLotusInstallerKey[] = KORVO_W("SOFTWARE\\Lotus\\NOTES\\INSTALLER");
const WCHAR kNotesIniPathValue[] = KORVO_W("NotesIniPath");
const WCHAR kProgramDirectoryValue[] = KORVO_W("PROGDIR");

// Opens the key in the first view that has it, logging each fallback.
platform::UniqueRegistryKey OpenUserKey(const WCHAR* subKey) {
    platform::UniqueRegistryKey key;
    long result =
        platform::RegOpenCurrentUserKey(subKey, platform::RegistryView::Default, key.Put());
    if (result == platform::kErrorSuccess)
        return key;
    KORVO_TRACE(PM_SDK::kLevelProgress, "ReadRegistry",
                "fail to query in HKCR with KEY_READ,try open with KEY_WOW64_64KEY, hRet=%d",
                static_cast<int>(result));
    result = platform::RegOpenCurrentUserKey(subKey, platform::RegistryView::Force64, key.Put());
    if (result == platform::kErrorSuccess)
        return key;
    KORVO_TRACE(PM_SDK::kLevelProgress, "ReadRegistry",
                "fail to query HKCR with KEY_WOW64_64KEY,then try open with KEY_WOW64_32KEY, "
                "hRet=%d",
                static_cast<int>(result));
    result = platform::RegOpenCurrentUserKey(subKey, platform::RegistryView::Force32, key.Put());
    if (result != platform::kErrorSuccess)
        KORVO_TRACE(PM_SDK::kLevelFailure, "ReadRegistry", "Fail to open Key, hRet=%d",
                    static_cast<int>(result));
    return key;
}

// The Notes program directory from the installer keys, or empty.
void GetNotesPathFromRegistry(char* directory) {
    if (ReadRegistry(kIbmInstallerKey, kProgramDirectoryValue, directory) ||
        ReadRegistry(kLotusInstallerKey, kProgramDirectoryValue, directory)) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetNotesPathFromRegistry", "Notes Install Path=%s",
                    directory);
        return;
    }
    KORVO_TRACE(PM_SDK::kLevelFailure, "GetNotesPathFromRegistry",
                "Fail to query Notes Install Path from system registry!!");
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::InitiateNotes",
                "Fail to get NOTES install directory!!");
}

// True when the ANSI path names an existing file or directory.
bool AnsiPathExists(const char* path) {
    return platform::PathExistsW(StringUtil::WidenAnsi(path).c_str());
}

} // namespace

bool ReadRegistry(const WCHAR* subKey, const WCHAR* valueName, char* out) {
    if (out == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ReadRegistry", "strKeyValue=NULL");
        return false;
    }
    out[0] = '\0';

    platform::UniqueRegistryKey key = OpenUserKey(subKey);
    if (!key)
        return false;

    WCHAR value[kRegistryUnits] = {};
    uint32_t bytes = sizeof value;
    const long result = platform::RegQueryString(key.Get(), valueName, value, &bytes);
    key.Reset();
    if (result != platform::kErrorSuccess) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ReadRegistry", "Fail to query key value, hRet=%d",
                    static_cast<int>(result));
        return false;
    }

    size_t units = 0;
    while (units < kRegistryUnits && value[units] != 0)
        ++units;
    RK::CStringT<char> text;
    RK::_cstring_set(text, 0, value, static_cast<unsigned>(units));
    if (text.size() > kLongestValue) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ReadRegistry",
                    "the buffer for path is not enough !! length=%d",
                    static_cast<int>(text.size()));
        return false;
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

bool GetNotesIniPathFromRegistry(char* out) {
    if (out == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetNotesIniPathFromRegistry", "strNoteIniPath=NULL");
        return false;
    }
    if (ReadRegistry(kUserSettingKey, kNotesIniPathValue, out)) {
        if (std::strstr(out, ".ini") != nullptr || AnsiPathExists(out)) {
            KORVO_TRACE(PM_SDK::kLevelProgress, "GetNotesIniPathFromRegistry",
                        "Get NotesIniPath[%s] from user setting", out);
            return true;
        }
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetNotesIniPathFromRegistry",
                    "NotesIniPath[%s] from user setting is invalid !!", out);
    }
    if (ReadRegistry(kDefaultIniKey, kNotesIniPathValue, out)) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "GetNotesIniPathFromRegistry",
                    "Get default NotesIniPath [%s]", out);
        return true;
    }
    out[0] = '\0';
    KORVO_TRACE(PM_SDK::kLevelProgress, "GetNotesIniPathFromRegistry",
                "Fail to query NotesIniPath Path from system registry!!");
    return false;
}

void CNotesCtrl::InitiateNotes() {
    if (m_bNotesInitiated)
        return;
    char directory[kPathBuffer] = {};
    char iniPath[kPathBuffer] = {};

    GetNotesPathFromRegistry(directory);
    if (!GetNotesIniPathFromRegistry(iniPath))
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::InitiateNotes",
                    "Fail to get Notes.ini file path!!");

    char iniArgument[kIniArgumentBuffer] = {};
    if (iniPath[0] != '\0') {
        iniArgument[0] = '=';
        StringUtil::GetSubString(iniPath, '\0', kIniArgumentBuffer - 1, iniArgument + 1);
    }

    if (!InitNotesLibrary(directory, iniArgument)) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::InitiateNotes",
                    "Fail load Notes library!");
        m_bNotesInitiated = 0;
        return;
    }
    m_bNotesInitiated = 1;
}

void CNotesCtrl::GetServerMode() {
    char mailType[256] = {};
    GetEnvironmentString("MailType", mailType);
    if (StringUtil::IsSameString(mailType, "0"))
        GetEnvironmentString("MailServer", m_szMailServer);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::GetServerMode", "ServerName[%s]",
                m_szMailServer);
}
