#include "notescontact.h"

#include "notesclib.h"
#include "notesentries.h"
#include "notesnotes.h"
#include "trace.h"

static constexpr char kTraceSource[] = "notescontact.cpp";

namespace {

constexpr char kUsersView[] = "$Users";                // the view of an address book's keys
constexpr size_t kFileNameBuffer = 257;                // bytes of the address book's file name
constexpr uint16_t kFindEqual = FIND_CASE_INSENSITIVE; // whole keys
constexpr uint16_t kFindPrefix = FIND_CASE_INSENSITIVE | FIND_PARTIAL; // beginnings of keys

CNotesContacts* g_instance = nullptr; // the process-wide instance; null until first used

} // namespace

CNotesContacts* CNotesContacts::GetInstance() {
    if (g_instance == nullptr)
        g_instance = new CNotesContacts();
    return g_instance;
}

void CNotesContacts::DestroyInstance() {
    if (g_instance == nullptr)
        return;
    g_instance->CloseAddressBooks();
    delete g_instance;
    g_instance = nullptr;
}

int32_t CNotesContacts::OpenAddressBook(const char* server) {
    DBHANDLE& db = server == nullptr ? m_hLocalDB : m_hServerDB;
    NOTEID& usersView = server == nullptr ? m_localUsersView : m_serverUsersView;
    if (db != NULLHANDLE)
        return 1;

    char fileName[kFileNameBuffer] = {};
    GetAddressBookFileName(server, fileName);
    if (fileName[0] == '\0')
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesContacts::OpenAddressBook",
                    "Fail to Get Address Book File Name!!");
    else
        OpenDB(server, fileName, &db);
    if (db == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesContacts::OpenAddressBook",
                    "Fail to open address book!!");
        return 0;
    }
    usersView = 0;
    GetDBView(db, kUsersView, &usersView);
    return 1;
}

void CNotesContacts::SelectAddressBook(int32_t serverFlag) {
    m_hCurrentDB = serverFlag == 0 ? m_hLocalDB : m_hServerDB;
    m_currentUsersView = serverFlag == 0 ? m_localUsersView : m_serverUsersView;
    m_seenUnids.clear();
}

void CNotesContacts::CloseAddressBooks() {
    CloseDB(&m_hLocalDB);
    CloseDB(&m_hServerDB);
    m_hCurrentDB = NULLHANDLE;
}

void CNotesContacts::SearchContactsInfoByPrimaryField(const char* key, int32_t partialFlag,
                                                      std::vector<ContactInfo>& out,
                                                      int32_t brief) {
    if (key == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "CNotesContacts::SearchContactsInfoByPrimaryField",
                    "Query string key is NULL !!");
        return;
    }
    if (m_hCurrentDB == NULLHANDLE || m_currentUsersView == 0) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "CNotesContacts::SearchContactsInfoByPrimaryField",
                    "invalid database handle!!");
        return;
    }
    m_briefMode = brief;

    HCOLLECTION collection = 0;
    STATUS status = NIFOpenCollection(m_hCurrentDB, m_hCurrentDB, m_currentUsersView, 0, NULLHANDLE,
                                      &collection, nullptr, nullptr, nullptr, nullptr);
    if (status != NOERROR) {
        NotesAPIErrHandler("NIFOpenCollection", status);
        collection = 0;
    }
    if (collection == 0) {
        KORVO_TRACE(PM_SDK::kLevelRejected, "CNotesContacts::SearchContactsInfoByPrimaryField",
                    "Fail to open Collection!!");
        return;
    }

    COLLECTIONPOSITION position = {};
    uint32_t matches = 0;
    status = NIFFindByName(collection, key, partialFlag != 0 ? kFindPrefix : kFindEqual, &position,
                           &matches);
    if (status != NOERROR) {
        if (ERR(status) != ERR_NOT_FOUND)
            NotesAPIErrHandler("NIFFindByName", status);
    } else if (matches > 0) {
        ReadMatchedEtries(collection, &position, matches, [&](uint32_t count, DHANDLE noteIds) {
            ReadContactsInfoFromEtries(count, noteIds, out);
        });
    }
    CloseCollection(collection);
}

void CNotesContacts::ReadContactsInfoFromEtries(uint32_t count, DHANDLE noteIds,
                                                std::vector<ContactInfo>& out) {
    if (count == 0 || noteIds == NULLHANDLE)
        return;
    const auto* ids = static_cast<const NOTEID*>(OSLockObject(noteIds));
    for (uint32_t i = 0; ids != nullptr && i < count; ++i) {
        NOTEHANDLE note = NULLHANDLE;
        OpenNoteByNoteID(m_hCurrentDB, ids[i], &note, false);
        if (note == NULLHANDLE) {
            KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesContacts::ReadContactsInfoFromEtries",
                        "fail to open Note handle with Notes ID[0x%x]!!",
                        static_cast<unsigned>(ids[i]));
            continue;
        }
        CString unidText;
        GetNoteOID(note, unidText);
        AddContactFromNote(note, unidText, out, true);
        CloseNote(note);
    }
    OSUnlockObject(noteIds);
    OSMemFree(noteIds);
}
