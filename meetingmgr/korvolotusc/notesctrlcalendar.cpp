// The calendar operations of the interface object: the calendar context of Init, listing and
// fetching appointments, the appointment cache, the mail profile and the e-mail address of a
// display name.
#include "notesctrl.h"

#include "notescontact.h"
#include "notestime.h"
#include "notesxml.h"
#include "stringutil.h"
#include "trace.h"

#include "platform/oleauto.h"

#include <algorithm>
#include <utility>

static constexpr char kTraceSource[] = "notesctrl.cpp";

namespace {

constexpr int32_t kNotFound = 0; // single-meeting and lookup operations: nothing returned
constexpr int32_t kFound = 1;    // single-meeting and lookup operations: returned
constexpr int32_t kListFailed = 1;

// Places the document held by temporary in *out as a new BSTR that the caller owns, copied
// byte for byte up to the document's first NUL; the old value of *out is not freed, and
// temporary is freed. A null temporary places an empty document.
void PlaceDocument(platform::UniqueBstr temporary, BSTR* out) {
    const uint32_t length = platform::SysStringLen(temporary.Get());
    const uint32_t text = static_cast<uint32_t>(
        std::find(temporary.Get(), temporary.Get() + length, WCHAR()) - temporary.Get());
    *out = platform::SysAllocStringByteLen(reinterpret_cast<const char*>(temporary.Get()),
                                           text * static_cast<uint32_t>(sizeof(WCHAR)));
}

// Places document in *out through a temporary BSTR, as PlaceDocument above; document is
// given up once the temporary holds it.
void PlaceDocument(CString document, BSTR* out) {
    platform::UniqueBstr temporary(platform::SysAllocString(document.c_str()));
    CString().swap(document);
    PlaceDocument(std::move(temporary), out);
}

// Opens the calendar's mail database and its text buffer for one operation, and closes both
// when the operation ends.
class MailDatabaseScope {
  public:
    explicit MailDatabaseScope(CNotesCalendar& calendar) : m_calendar(calendar) {
        m_calendar.OpenMailDB();
        if (m_calendar.m_hMailDB != NULLHANDLE)
            m_calendar.AllocateTextBuffer();
    }
    ~MailDatabaseScope() {
        m_calendar.CloseMailDB();
        m_calendar.FreeTextBuffer();
    }
    MailDatabaseScope(const MailDatabaseScope&) = delete;
    MailDatabaseScope& operator=(const MailDatabaseScope&) = delete;

  private:
    CNotesCalendar& m_calendar; // the calendar whose database is open
};

} // namespace

int32_t CNotesCtrl::InitializeCalendarContext() {
    CNotesContacts* contacts = CNotesContacts::GetInstance();
    if (contacts->OpenAddressBook(nullptr) == 0) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::InitializeCalendarContext",
                    "Fail to open local address book!!");
        return 0;
    }
    GetServerMode();
    if (contacts->OpenAddressBook(m_szMailServer) == 0) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::InitializeCalendarContext",
                    "Fail to open Server address book!!");
        return 0;
    }
    if (m_calendar.InitServerProfile(m_szMailServer) == 0) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::InitializeCalendarContext",
                    "Fail to Domino servers name.");
        return 0;
    }
    return 1;
}

int32_t CNotesCtrl::GetSMTPFromDispName(BSTR displayName, BSTR* smtp) {
    if (!PassesGuard("CNotesCtrl::GetSMTPFromDispName"))
        return kNotFound;
    if (displayName == nullptr || smtp == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::GetSMTPFromDispName",
                    "invalid parameter !!");
        return kNotFound;
    }
    const CString name(displayName);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::GetSMTPFromDispName", "DispName[%s]",
                StringUtil::NarrowAnsi(name).c_str());
    CString address;
    if (!m_calendar.GetSMTPFromDisplayName(name, address)) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::GetSMTPFromDispName", "Not Found!!");
        return kNotFound;
    }
    *smtp = platform::SysAllocString(address.c_str());
    return kFound;
}

int32_t CNotesCtrl::ListAppointment(FILETIME* start, FILETIME* end, BSTR* xml) {
    if (!PassesGuard("CNotesCtrl::ListAppointment"))
        return kListFailed;
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::ListAppointment", "begin");
    if (start == nullptr || end == nullptr || xml == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::ListAppointment", "invalid parameter !!");
        return kListFailed;
    }
    platform::UniqueBstr document;
    {
        std::vector<AppointmentInfo> records;
        {
            MailDatabaseScope database(m_calendar);
            SetCalendarTimeRange(m_calendar, *start, *end);
            std::vector<CalendarEventEntry> entries;
            m_calendar.SearchAllCalendar(entries);
            m_calendar.ParseAppointments(entries, records);
        }
        document = AppointmentListBstr(records);
    }
    PlaceDocument(std::move(document), xml);
    return 0;
}

int32_t CNotesCtrl::ListRecrrentInstance(BSTR entryId, FILETIME* start, FILETIME* end, BSTR* xml) {
    if (!PassesGuard("CNotesCtrl::ListRecrrentInstance"))
        return kNotFound;
    if (entryId == nullptr || start == nullptr || end == nullptr || xml == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::ListRecrrentInstance",
                    "invalid parameter !!");
        return kNotFound;
    }
    const CString key(entryId);
    CString document;
    AppointmentInfo record;
    int32_t found = 0;
    {
        MailDatabaseScope database(m_calendar);
        found = m_calendar.GetAppointmentByUNID(start, end, key, record);
    }
    if (found) {
        document = AppointmentXml(record);
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::ListRecrrentInstance",
                    "Meetings as below");
        KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCtrl::ListRecrrentInstance", "%s",
                    StringUtil::NarrowAnsi(document).c_str());
    } else {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::ListRecrrentInstance",
                    "fail to get recurrence Appointment with EntryID[%s]",
                    StringUtil::NarrowAnsi(key).c_str());
    }
    PlaceDocument(std::move(document), xml);
    return found ? kFound : kNotFound;
}

int32_t CNotesCtrl::DeleteMsgInfo(BSTR key, BSTR* xml) {
    if (!PassesGuard("CNotesCtrl::DeleteMsgInfo"))
        return kNotFound;
    if (key == nullptr || xml == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::DeleteMsgInfo", "invalid parameter !!");
        return kNotFound;
    }
    const CString keyText(key);
    CString document;
    AppointmentInfo record;
    int32_t result = kNotFound;
    if (m_calendar.m_dataStore.TakeAppointment(keyText, record)) {
        document = AppointmentXml(record);
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::DeleteMsgInfo",
                    "Meeting[%s] with Key ID[%s] was deleted!!",
                    StringUtil::NarrowAnsi(record.subject).c_str(),
                    StringUtil::NarrowAnsi(keyText).c_str());
        result = kFound;
    } else {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::DeleteMsgInfo",
                    "Meeting with Key ID[%s] was not found!!",
                    StringUtil::NarrowAnsi(keyText).c_str());
    }
    PlaceDocument(std::move(document), xml);
    return result;
}

int32_t CNotesCtrl::GetMsgInfo(BSTR key, int32_t, BSTR* xml) {
    if (!PassesGuard("CNotesCtrl::GetMsgInfo"))
        return kNotFound;
    if (key == nullptr || xml == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::GetMsgInfo", "invalid parameter !!");
        return kNotFound;
    }
    const CString keyText(key);
    CString document;
    AppointmentInfo record;
    int32_t found = 0;
    {
        MailDatabaseScope database(m_calendar);
        found = m_calendar.UpdateAppointmentByUNID(keyText, record);
    }
    if (found) {
        document = AppointmentXml(record);
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::GetMsgInfo",
                    "Meeting[%s] with Key ID[%s] was found!!",
                    StringUtil::NarrowAnsi(record.subject).c_str(),
                    StringUtil::NarrowAnsi(keyText).c_str());
    } else {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::GetMsgInfo",
                    "Meeting with Key ID[%s] was not found!!",
                    StringUtil::NarrowAnsi(keyText).c_str());
    }
    PlaceDocument(std::move(document), xml);
    return found ? kFound : kNotFound;
}

int32_t CNotesCtrl::GetCurProfileInfo(BSTR* xml) {
    if (!PassesGuard("CNotesCtrl::GetCurProfileInfo"))
        return kNotFound;
    m_calendar.GetServerProfileInfo(xml);
    return kFound;
}

void CNotesCtrl::ClearCache() {
    m_calendar.m_dataStore.Clear();
}
