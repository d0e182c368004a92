#include "notesctrl.h"

#include "trace.h"

static constexpr char kTraceSource[] = "notesctrl.cpp";

namespace {

// The values the guarded operations answer before the runtime is started.
constexpr int32_t kGuardNotFound = 0;
constexpr int32_t kGuardFailed = 1;

} // namespace

CNotesCtrl::CNotesCtrl() = default;

CNotesCtrl::~CNotesCtrl() = default;

bool CNotesCtrl::PassesGuard(const char* function) const {
    if (m_bNotesInitiated)
        return true;
    KORVO_TRACE(PM_SDK::kLevelFailure, function, "Must init Notes in first!!");
    return false;
}

int32_t CNotesCtrl::Init(int32_t initType) {
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Init", "NotesInitated[%d],initType[%d]",
                m_bNotesInitiated, initType);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCtrl::Init", "Failure");
    return 1;
}

void CNotesCtrl::Uninit() {}

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
