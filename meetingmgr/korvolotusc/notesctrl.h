// The interface object: CNotesCtrl implements every operation of IKorvoLotus;
// CMgrClassFactory is the class the factory export creates.
#pragma once

#include "KorvoLotusC.h"
#include "notesmailcalendar.h"

#include <cstdint>

class CNotesCtrl : public IKorvoLotus {
  public:
    CNotesCtrl();
    CNotesCtrl(const CNotesCtrl&) = delete;
    CNotesCtrl& operator=(const CNotesCtrl&) = delete;
    // Stops the runtime when this object started it and destroys the contact searcher.
    ~CNotesCtrl();

    int32_t Init(int32_t initType) override;
    void Uninit() override;
    int32_t SendMail(BSTR subject, BSTR recipients, BSTR body, int32_t unused) override;
    int32_t GetSMTPFromDispName(BSTR displayName, BSTR* smtp) override;
    int32_t ListAppointment(FILETIME* start, FILETIME* end, BSTR* xml) override;
    int32_t ListRecrrentInstance(BSTR entryId, FILETIME* start, FILETIME* end, BSTR* xml) override;
    int32_t DeleteMsgInfo(BSTR key, BSTR* xml) override;
    int32_t GetMsgInfo(BSTR key, int32_t unused, BSTR* xml) override;
    int32_t GetCurProfileInfo(BSTR* xml) override;
    void ClearCache() override;
    int32_t ResolveContact(CString& query, std::vector<ContactInfo>& results, bool resolveByUri,
                           int32_t unused) override;
    int32_t ResolveContactBySearchQuery(std::vector<CString>& terms,
                                        std::vector<ContactInfo>& results) override;

    // 1 once this object has started the Notes runtime.
    int32_t NotesInitiated() const { return m_bNotesInitiated; }

  private:
    // True when the runtime was started; otherwise logs the guard message under function.
    bool PassesGuard(const char* function) const;
    // Starts the runtime with the installation the registry names; sets m_bNotesInitiated.
    void InitiateNotes();
    // Prepares what initType asks for once the runtime is started; false when that failed.
    bool InitializeContext(int32_t initType);
    // Opens both address books and gathers the mail profile; 0 when a step failed.
    int32_t InitializeCalendarContext();
    // Opens the local address book for contact resolution; false when it cannot be opened.
    bool InitializeContactResolutionContext();
    // Reads the mail server from notes.ini into m_szMailServer when the mail type is "0".
    void GetServerMode();
    // Closes the address books and stops the runtime this object started (the body of Uninit
    // after its guard).
    void StopNotes();

    int32_t m_bNotesInitiated = 0; // 1 while this object has the Notes runtime started
    CNotesCalendar m_calendar;     // the mail calendar, its caches and the mail profile
    char m_szMailServer[256] = {}; // mail server from notes.ini; empty for a local mail file
};

// What DllGetKorvoLotusClassObject creates.
class CMgrClassFactory final : public CNotesCtrl {};
