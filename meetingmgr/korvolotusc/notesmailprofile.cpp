// The user's mail database: opening it, and the seven profile strings that describe it.
#include "notesclib.h"
#include "notesmailcalendar.h"
#include "notesnotes.h"
#include "notesxml.h"
#include "stringutil.h"
#include "trace.h"

#include "platform/oleauto.h"

#include <cstdio>

static constexpr char kTraceSource[] = "notesmailcalendar.cpp";

namespace {

constexpr size_t kNameBuffer = 256;  // bytes of a name or notes.ini value
constexpr size_t kIdTextBuffer = 17; // 16 hexadecimal digits and a NUL

// An 8-byte identifier as 16 hexadecimal digits, its second 32-bit word first.
void FormatIdText(const TIMEDATE& id, char (&text)[kIdTextBuffer]) {
    std::snprintf(text, sizeof text, "%08X%08X", static_cast<unsigned>(id.Innards[1]),
                  static_cast<unsigned>(id.Innards[0]));
}

} // namespace

CNotesCalendar::~CNotesCalendar() {
    CloseMailDB();
    FreeTextBuffer();
}

int32_t CNotesCalendar::InitServerProfile(const char* serverName) {
    if (serverName == nullptr)
        return 0;
    std::snprintf(m_strServerName, sizeof m_strServerName, "%s", serverName);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::InitServerProfile",
                "NOTEC_DEBUG_LOG : CNotesCalendar::InitServerProfile m_strServerName = %s",
                m_strServerName);
    OpenMailDB();
    if (m_hMailDB == NULLHANDLE)
        return 0;
    StoreServerIP();
    StoreReplicaID();

    char owner[kNameBuffer] = {};
    GetOwnerName(owner);
    if (owner[0] != '\0') {
        AttendeeInfo resolved;
        GetAttendeeInfo(owner, resolved);
        m_dataStore.EmailAddress = resolved.email;
    }
    GetDBIDOfMailDB();
    CloseMailDB();
    return 1;
}

void CNotesCalendar::OpenMailDB() {
    if (m_hMailDB != NULLHANDLE)
        return;
    char file[kNameBuffer] = {};
    if (!GetEnvironmentString("MailFile", file) || file[0] == '\0') {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::OpenMailDB",
                    "Fail to read MailFile value in notes.ini.");
        return;
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::OpenMailDB",
                "NOTEC_DEBUG_LOG : CNotesCalendar::OpenMailDB ServerName = %s", m_strServerName);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::OpenMailDB",
                "NOTEC_DEBUG_LOG : CNotesCalendar::OpenMailDB FileName = %s", file);
    OpenDB(m_strServerName, file, &m_hMailDB);
}

void CNotesCalendar::CloseMailDB() {
    CloseDB(&m_hMailDB);
}

void CNotesCalendar::StoreServerIP() {
    char key[kNameBuffer];
    GetStringKeyOfNotesDisplayName(m_strServerName, key);
    m_dataStore.ServerIP = StringUtil::WidenAnsi(key);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::StoreServerIP", "strServerIP[%s]", key);
}

void CNotesCalendar::StoreReplicaID() {
    // A failed read leaves the replica ID zero, written as sixteen zeros.
    DBREPLICAINFO info{};
    if (m_hMailDB == NULLHANDLE)
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetReplicaID", "Invalid parameters!!");
    else
        NSFDbReplicaInfoGet(m_hMailDB, &info);
    char text[kIdTextBuffer];
    FormatIdText(info.ID, text);
    m_dataStore.ApptDBID = StringUtil::WidenAnsi(text);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::StoreReplicaID",
                "NOTEC_DEBUG_LOG : CNotesCalendar::StoreReplicaID() New Implementation replicaID "
                "= %s",
                text);
}

void CNotesCalendar::GetDBIDOfMailDB() {
    char text[kIdTextBuffer] = {};
    if (m_hMailDB == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetDBID", "Invalid parameters!!");
    } else {
        DBID id{};
        const STATUS status = NSFDbIDGet(m_hMailDB, &id);
        if (status != NOERROR)
            NotesAPIErrHandler("GetDBID---NSFDbIDGet", status);
        else
            FormatIdText(id, text);
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetDBIDOfMailDB", "MailDBID[%s]", text);
    m_dataStore.EmailDBID = StringUtil::WidenAnsi(text);

    CString viewId;
    GetUNIDOfMailDBView("$MeetingsAllByDate2", viewId);
    m_dataStore.ApptViewID = viewId;
    viewId.clear();
    GetUNIDOfMailDBView("$Inbox", viewId);
    m_dataStore.InboxEmailViewID = viewId;
    viewId.clear();
    GetUNIDOfMailDBView("$Sent", viewId);
    m_dataStore.SentEmailViewID = viewId;
}

void CNotesCalendar::GetUNIDOfMailDBView(const char* viewName, CString& out) {
    NOTEID viewNoteId = 0;
    if (viewName == nullptr || m_hMailDB == NULLHANDLE)
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetDBView", "Invalid parameters!!");
    else
        GetDBView(m_hMailDB, viewName, &viewNoteId);
    if (viewNoteId == 0)
        return;

    // The originator ID read here is only logged; the UNID stored is the open note's.
    ORIGINATORID oid{};
    NSFDbGetNoteInfo(m_hMailDB, viewNoteId, &oid, nullptr, nullptr);
    char realViewId[kUnidTextLength + 1];
    FormatNoteUNID(UNID{oid.File, oid.Note}, realViewId);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetUNIDOfMailDBView",
                "CNotesCalendar::GetUNIDOfMailDBView realViewID = %s", realViewId);

    NOTEHANDLE note = NULLHANDLE;
    OpenNoteByNoteID(m_hMailDB, viewNoteId, &note, false);
    if (note == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetUNIDOfMailDBView",
                    "fail to open Note!!");
        return;
    }
    GetNoteOID(note, out);
    CloseNote(note);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetUNIDOfMailDBView",
                "UNID[%s] of View[%s]", StringUtil::NarrowAnsi(out).c_str(), viewName);
}

void CNotesCalendar::GetServerProfileInfo(BSTR* out) {
    if (out == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetServerProfileInfo",
                    "Invalid parameter!!");
        return;
    }
    const CNoteDataStore& store = m_dataStore;
    const CString xml =
        ProfileXml(store.EmailAddress, store.ServerIP, store.ApptDBID, store.ApptViewID,
                   store.EmailDBID, store.InboxEmailViewID, store.SentEmailViewID);
    *out = platform::SysAllocString(xml.c_str());
}
