#include "notesctrl.h"

#include "notesclib.h"
#include "notescontact.h"
#include "notesmailmessage.h"
#include "notestext.h"
#include "stringutil.h"
#include "trace.h"

#include "platform/dialog.h"
#include "platform/oleauto.h"

static constexpr char kTraceSource[] = "notesctrl.cpp";

namespace {

// The values the guarded operations answer before the runtime is started.
constexpr int32_t kGuardNotFound = 0;
constexpr int32_t kGuardFailed = 1;

constexpr int32_t kInitCalendar = 1;   // Init's type for calendar use
constexpr int32_t kInitContacts = 2;   // Init's type for contact resolution
constexpr STATUS kIdFileLocked = 6022; // the one status the user can fix and retry
constexpr size_t kDialogText = 512;    // bytes of the retry dialog's text
const WCHAR kDialogCaption[] = KORVO_W("Vendra Parlo - IBM Notes Integration");

// Asks the user whether to retry after a locked ID file; true for Retry.
bool UserWantsRetry() {
    char text[kDialogText] = {};
    OSLoadString(nullptr, kIdFileLocked, text, sizeof text);
    return platform::MessageBoxW(StringUtil::WidenAnsi(text).c_str(), kDialogCaption,
                                 platform::kMbRetryCancel | platform::kMbIconExclamation) ==
           platform::kIdRetry;
}

// Searches the local address book for query: by key (beginning with it when partial), and
// by IM login too when alsoByIMLogin. Appends the records found to results.
void SearchLocalAddressBook(const CString& query, bool partial, bool alsoByIMLogin,
                            std::vector<ContactInfo>& results) {
    TextEntry key;
    ConstructNotesLMBCSTextFromCString(query, key);
    CNotesContacts* contacts = CNotesContacts::GetInstance();
    contacts->SelectAddressBook(0);
    contacts->SearchContactsInfoByPrimaryField(key.text.get(), partial ? 1 : 0, results, 0);
    if (alsoByIMLogin)
        contacts->SearchContactsInfoByIMAddress(key.text.get(), results);
}

} // namespace

CNotesCtrl::CNotesCtrl() = default;

CNotesCtrl::~CNotesCtrl() {
    if (m_bNotesInitiated)
        StopNotes();
    CNotesContacts::DestroyInstance();
}

bool CNotesCtrl::PassesGuard(const char* function) const {
    if (m_bNotesInitiated)
        return true;
    KORVO_TRACE(PM_SDK::kLevelFailure, function, "Must init Notes in first!!");
    return false;
}

int32_t CNotesCtrl::Init(int32_t initType) {
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Init", "NotesInitated[%d],initType[%d]",
                m_bNotesInitiated, initType);
    if (!m_bNotesInitiated)
        InitiateNotes();
    if (m_bNotesInitiated && InitializeContext(initType)) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Init", "Success");
        return 0;
    }

    if (GetLastNotesStatus() == kIdFileLocked && UserWantsRetry()) {
        SetLastNotesStatus(0);
        if (Init(initType) == 0)
            return 0;
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Init", "Failure");
    return 1;
}

bool CNotesCtrl::InitializeContext(int32_t initType) {
    switch (initType) {
    case kInitCalendar:
        return InitializeCalendarContext() != 0;
    case kInitContacts:
        return InitializeContactResolutionContext();
    default:
        return true;
    }
}

bool CNotesCtrl::InitializeContactResolutionContext() {
    if (CNotesContacts::GetInstance()->OpenAddressBook(nullptr) != 0)
        return true;
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::InitializeContactResolutionContext",
                "Failed!!");
    return false;
}

void CNotesCtrl::Uninit() {
    if (m_bNotesInitiated)
        StopNotes();
}

void CNotesCtrl::StopNotes() {
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Uninit", "begin");
    CNotesContacts::GetInstance()->CloseAddressBooks();
    UninitNotesLibrary();
    m_bNotesInitiated = 0;
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Uninit", "end");
}

int32_t CNotesCtrl::SendMail(BSTR subject, BSTR recipients, BSTR body, int32_t) {
    if (!PassesGuard("CNotesCtrl::SendMail"))
        return kGuardNotFound;
    if (subject == nullptr || recipients == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::SendMail", "invalid parameter !!");
        return 0;
    }
    const CString subjectText(subject, platform::SysStringLen(subject));
    const CString recipientsText(recipients, platform::SysStringLen(recipients));
    const CString bodyText =
        body == nullptr ? CString() : CString(body, platform::SysStringLen(body));
    KORVO_TRACE(
        PM_SDK::kLevelProgress, "CNotesCtrl::SendMail", "Subject[%s],strRecips[%s],strbody[%s]",
        StringUtil::NarrowAnsi(subjectText).c_str(), StringUtil::NarrowAnsi(recipientsText).c_str(),
        StringUtil::NarrowAnsi(bodyText).c_str());
    if (recipientsText.empty()) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCtrl::SendMail", "No recipients!!");
        return 0;
    }
    CNotesMailMessage message;
    message.OpenMailFile(m_szMailServer);
    if (message.CreateNotesMessage(subjectText, recipientsText, bodyText) == 1)
        message.SendNotesMessage();
    return 1;
}

int32_t CNotesCtrl::ResolveContact(CString& query, std::vector<ContactInfo>& results,
                                   bool resolveByUri, int32_t) {
    if (!PassesGuard("CNotesCtrl::ResolveContact"))
        return kGuardFailed;
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::ResolveContact",
                "Query string[%s],resolveByUri[%d]", StringUtil::NarrowAnsi(query).c_str(),
                resolveByUri ? 1 : 0);
    results.clear();
    if (query.empty())
        return 0;
    SearchLocalAddressBook(query, false, false, results);
    return results.empty() ? 1 : 0;
}

int32_t CNotesCtrl::ResolveContactBySearchQuery(std::vector<CString>& terms,
                                                std::vector<ContactInfo>& results) {
    if (!PassesGuard("CNotesCtrl::ResolveContactBySearchQuery"))
        return kGuardFailed;
    CString query;
    for (size_t i = 0; i < terms.size(); ++i) {
        if (i > 0)
            query += ' ';
        query += terms[i];
    }
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::ResolveContactBySearchQuery",
                "Query string[%s]", StringUtil::NarrowAnsi(query).c_str());
    results.clear();
    if (query.empty())
        return 0;
    SearchLocalAddressBook(query, true, terms.size() == 1, results);
    return results.empty() ? 1 : 0;
}
