#include "notesctrl.h"

#include "notesclib.h"
#include "trace.h"

#include "platform/dialog.h"
#include "rk/convert.h"

static constexpr char kTraceSource[] = "notesctrl.cpp";

namespace {

// The values the guarded operations answer before the runtime is started.
constexpr int32_t kGuardNotFound = 0;
constexpr int32_t kGuardFailed = 1;

constexpr STATUS kIdFileLocked = 6022; // the one status the user can fix and retry
constexpr size_t kDialogText = 512;    // bytes of the retry dialog's text
const WCHAR kDialogCaption[] = KORVO_W("Vendra Parlo - IBM Notes Integration");

// Asks the user whether to retry after a locked ID file; true for Retry.
bool UserWantsRetry() {
    char text[kDialogText] = {};
    OSLoadString(nullptr, kIdFileLocked, text, sizeof text);
    RK::CStringT<WCHAR> wide;
    RK::_cstring_set(wide, 0, text, 0xFFFFFFFFu);
    return platform::MessageBoxW(wide.c_str(), kDialogCaption,
                                 platform::kMbRetryCancel | platform::kMbIconExclamation) ==
           platform::kIdRetry;
}

} // namespace

CNotesCtrl::CNotesCtrl() = default;

CNotesCtrl::~CNotesCtrl() {
    if (m_bNotesInitiated)
        StopNotes();
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
    if (m_bNotesInitiated) {
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

void CNotesCtrl::Uninit() {
    if (m_bNotesInitiated)
        StopNotes();
}

void CNotesCtrl::StopNotes() {
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Uninit", "begin");
    UninitNotesLibrary();
    m_bNotesInitiated = 0;
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Uninit", "end");
}

int32_t CNotesCtrl::SendMail(BSTR, BSTR, BSTR, int32_t) {
    PassesGuard("CNotesCtrl::SendMail");
    return kGuardNotFound;
}

int32_t CNotesCtrl::GetSMTPFromDispName(BSTR, BSTR*) {
    PassesGuard("CNotesCtrl::GetSMTPFromDispName");
    return kGuardNotFound;
}

int32_t CNotesCtrl::ListAppointment(FILETIME*, FILETIME*, BSTR*) {
    PassesGuard("CNotesCtrl::ListAppointment");
    return kGuardFailed;
}

int32_t CNotesCtrl::ListRecrrentInstance(BSTR, FILETIME*, FILETIME*, BSTR*) {
    PassesGuard("CNotesCtrl::ListRecrrentInstance");
    return kGuardNotFound;
}

int32_t CNotesCtrl::DeleteMsgInfo(BSTR, BSTR*) {
    PassesGuard("CNotesCtrl::DeleteMsgInfo");
    return kGuardNotFound;
}

int32_t CNotesCtrl::GetMsgInfo(BSTR, int32_t, BSTR*) {
    PassesGuard("CNotesCtrl::GetMsgInfo");
    return kGuardNotFound;
}

int32_t CNotesCtrl::GetCurProfileInfo(BSTR*) {
    PassesGuard("CNotesCtrl::GetCurProfileInfo");
    return kGuardNotFound;
}

void CNotesCtrl::ClearCache() {}

int32_t CNotesCtrl::ResolveContact(CString&, std::vector<ContactInfo>&, bool, int32_t) {
    PassesGuard("CNotesCtrl::ResolveContact");
    return kGuardFailed;
}

int32_t CNotesCtrl::ResolveContactBySearchQuery(std::vector<CString>&, std::vector<ContactInfo>&) {
    PassesGuard("CNotesCtrl::ResolveContactBySearchQuery");
    return kGuardFailed;
}
