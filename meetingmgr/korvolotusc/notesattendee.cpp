// Resolving the people named in appointments: the key of a Notes name, the day's name cache,
// and the local and server address books behind it.
#include "notescontact.h"
#include "notesmailcalendar.h"
#include "notestext.h"
#include "stringutil.h"
#include "trace.h"


#include <cstring>

static constexpr char kTraceSource[] = "notesmailcalendar.cpp";

namespace {

constexpr unsigned kKeyBuffer = 256; // bytes of a key: 255 characters and a NUL

// Which rule gave a name its key; only keys of the last two are searched for.
enum class KeyRule { None, WholeName, CommonName, BeforeSemicolon };

KeyRule DeriveKey(const char* name, char* key) {
    std::memset(key, 0, kKeyBuffer);
    if (name == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "GetStringKeyOfNotesDisplayName",
                    "Invalid parameter!!");
        return KeyRule::None;
    }
    const size_t length = std::strlen(name);
    if (length > kKeyBuffer) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "GetStringKeyOfNotesDisplayName",
                    "Key buffer[%d] is not enough!!", static_cast<int>(kKeyBuffer));
        return KeyRule::None;
    }
    // Separators count only where a character begins: the bytes after an LMBCS group byte
    // may have any value.
    const auto find = [name, length](size_t from, const char* word) {
        return StringUtil::FindInLmbcs(name, length, from, word);
    };
    if (find(0, "@") != length && find(0, "/") != length) {
        std::strncpy(key, name, kKeyBuffer - 1);
        return KeyRule::WholeName;
    }
    const size_t cn = find(0, "CN=");
    if (cn != length) {
        const size_t org = find(cn + 3, "/O=");
        if (org != length) {
            StringUtil::GetSubString(name + cn + 3, name + org, kKeyBuffer, key);
            return KeyRule::CommonName;
        }
    }
    StringUtil::GetSubString(name, name + find(0, ";"), kKeyBuffer, key);
    return KeyRule::BeforeSemicolon;
}

} // namespace

void GetStringKeyOfNotesDisplayName(const char* name, char* key) {
    DeriveKey(name, key);
}

void CNotesCalendar::GetAttendeeInfo(const char* name, AttendeeInfo& out) {
    if (name == nullptr || name[0] == '\0') {
        KORVO_TRACE(PM_SDK::kLevelRejected, "CNotesCalendar::GetAttendeeInfo",
                    "Invalid parameter!!");
        return;
    }
    char key[kKeyBuffer];
    const KeyRule rule = DeriveKey(name, key);
    const bool searchable = rule == KeyRule::CommonName || rule == KeyRule::BeforeSemicolon;
    const CString keyText = StringUtil::WidenAnsi(key);
    if (m_dataStore.FindResolvedName(keyText, out))
        return;

    out.key = keyText;
    std::vector<ContactInfo> contacts;
    if (searchable)
        SearchContactsInfo(key, contacts);
    if (contacts.empty()) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAttendeeInfo",
                    "fail to get Attendee (%s), Key (%s)", name, key);
        out.name = StringUtil::WidenAnsi(name);
        out.email = out.name;
    } else {
        out.name = contacts.front().fullName;
        out.email = contacts.front().email;
    }
    m_dataStore.StoreResolvedName(out);
}

void CNotesCalendar::SearchContactsInfo(const char* key, std::vector<ContactInfo>& out) {
    out.clear();
    CNotesContacts* contacts = CNotesContacts::GetInstance();
    contacts->SelectAddressBook(0);
    contacts->SearchContactsInfoByPrimaryField(key, 1, out, 1);
    if (!out.empty()) {
        KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCalendar::SearchContactsInfo",
                    "Contact %s(%s), Find in Local", key,
                    StringUtil::NarrowAnsi(out.front().email).c_str());
        return;
    }
    contacts->SelectAddressBook(1);
    contacts->SearchContactsInfoByPrimaryField(key, 1, out, 1);
    if (!out.empty())
        KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCalendar::SearchContactsInfo",
                    "Contact %s(%s), Find in Server", key,
                    StringUtil::NarrowAnsi(out.front().email).c_str());
}

int32_t CNotesCalendar::GetSMTPFromDisplayName(const CString& name, CString& out) {
    AttendeeInfo cached;
    if (m_dataStore.FindResolvedName(name, cached)) {
        out = cached.email;
        return 1;
    }
    TextEntry lmbcs;
    ConstructNotesLMBCSTextFromCString(name, lmbcs);
    std::vector<ContactInfo> contacts;
    SearchContactsInfo(lmbcs.c_str(), contacts);
    if (contacts.empty())
        return 0;
    out = contacts.front().email;
    return 1;
}
