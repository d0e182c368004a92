// The calendar of the user's mail database: opening it, the mail profile, the calendar search,
// the fields of each appointment and the resolution of the people named in it.
#pragma once

#include "KorvoLotusC.h"
#include "appointmentstore.h"
#include "calendarentry.h"
#include "notesapi.h"
#include "notesitems.h"

#include <memory>
#include <new>
#include <vector>

// The key of a Notes display name into key (256 bytes, zero-filled first): the whole name when
// it holds both "@" and "/"; else the common name between "CN=" and the following "/O=";
// else the text before the first ";". Null names and names of more than 256 characters are
// logged and leave the key empty.
void GetStringKeyOfNotesDisplayName(const char* name, char* key);

// Holds the mail database while an operation uses it, the time range of the current search,
// the text buffer that the time-list, body and MIME readers share, and the caches.
class CNotesCalendar {
  public:
    CNotesCalendar() = default;
    CNotesCalendar(const CNotesCalendar&) = delete;
    CNotesCalendar& operator=(const CNotesCalendar&) = delete;
    // Closes the mail database if it is open (failures are reported) and frees the buffer.
    ~CNotesCalendar();

    // Allocates the cleared shared text buffer (kBodyBufferSize bytes) unless it exists.
    // False when the allocation fails; the buffer stays absent then.
    bool AllocateTextBuffer() {
        if (!m_pTextBuffer)
            m_pTextBuffer.reset(new (std::nothrow) char[kBodyBufferSize]());
        return m_pTextBuffer != nullptr;
    }
    // Frees the shared text buffer.
    void FreeTextBuffer() { m_pTextBuffer.reset(); }

    // ---- The mail database and the profile ----

    // Copies serverName, opens the mail database, gathers the seven profile strings and
    // closes the database again. 1 when the database opened, else 0 (null serverName too).
    int32_t InitServerProfile(const char* serverName);
    // Opens the mail file notes.ini names on m_strServerName into m_hMailDB unless it is open.
    // Failures are logged; the caller tests m_hMailDB. Close it with CloseMailDB.
    void OpenMailDB();
    // Closes the mail database if it is open (a failure is reported); the handle becomes 0.
    void CloseMailDB();
    // Stores the key of the mail server's name as ServerIP.
    void StoreServerIP();
    // Stores the mail database's replica ID text as ApptDBID.
    void StoreReplicaID();
    // Stores the database ID text as EmailDBID and the UNID texts of the three views.
    void GetDBIDOfMailDB();
    // Sets out to the UNID text of the view viewName of the mail database; out keeps its
    // value when the view or its note cannot be found.
    void GetUNIDOfMailDBView(const char* viewName, CString& out);
    // Places the CurrentOLProfile fragment in *out as a new BSTR the caller frees. A null out
    // is logged and nothing is written.
    void GetServerProfileInfo(BSTR* out);

    // ---- People ----

    // Resolves the Notes name (LMBCS) into out through the day's name cache, else the address
    // books; an unknown name gives itself as name and e-mail. Null or empty names are logged
    // and leave out untouched.
    void GetAttendeeInfo(const char* name, AttendeeInfo& out);
    // Empties out and fills it from the local address book, else from the server's.
    void SearchContactsInfo(const char* key, std::vector<ContactInfo>& out);
    // The e-mail address of name from the name cache (name taken as a key) or the address
    // books (name searched as it is); 1 when found, else 0 with out unchanged.
    int32_t GetSMTPFromDisplayName(const CString& name, CString& out);

    // ---- The search ----

    // Appends the entries of the current range: the calendar export, then the free/busy busy
    // times that began before the range and are not listed yet.
    void SearchAllCalendar(std::vector<CalendarEventEntry>& out);
    // Appends a record per entry that can be read and caches it under its entryID.
    void ParseAppointments(const std::vector<CalendarEventEntry>& entries,
                           std::vector<AppointmentInfo>& out);
    // Finds the entry whose X-LOTUS-UNID text equals key in the current range; 1 when found.
    int32_t SearchCalendar(const CString& key, CalendarEventEntry& out);
    // The cached record for key, else (with the range set from start and end when both are
    // given) the appointment read from the mail file; 1 when out was filled. Nothing cached.
    int32_t GetAppointmentByUNID(const FILETIME* start, const FILETIME* end, const CString& key,
                                 AppointmentInfo& out);
    // Reads the appointment key again and updates the cache: out gets the fresh record with
    // eventtype 14, or the cached one with eventtype 13 when it is gone. 0 when neither.
    int32_t UpdateAppointmentByUNID(const CString& key, AppointmentInfo& out);

    // ---- The fields of one appointment ----

    // Fills out from the entry's note; 1 when the note opened and its times were read.
    int32_t ParseAppointmentItem(const CalendarEventEntry& entry, AppointmentInfo& out);
    // Sets the record's times and duration (the range start's instance when it repeats).
    int32_t GetValidAppointmentTime(NOTEHANDLE note, AppointmentInfo& record);
    // Appends the attendees of list 0 (required), 1 (optional) or 2 (for information).
    void GetAttendeeNameFromList(NOTEHANDLE note, int32_t list, std::vector<AttendeeInfo>& out);
    bool GetAppointmentRepeats(NOTEHANDLE note, const CalendarEventEntry& entry);
    void GetAppointmentBusyPriority(NOTEHANDLE note, int32_t& busyStatus);
    void GetAppointmentSubject(NOTEHANDLE note, CString& subject);
    void GetAppointmentLocation(NOTEHANDLE note, CString& location);
    void GetAppointmentBody(NOTEHANDLE note, CString& description);
    void GetAppointmentHostInfo(NOTEHANDLE note, const CalendarEventEntry& entry, CString& name,
                                CString& email);
    void GetAppointmentAppUNID(NOTEHANDLE note, const CalendarEventEntry& entry, CString& out);
    void GetAppointmentType(NOTEHANDLE note, const CalendarEventEntry& entry, int32_t& apptType);
    // Sets responseStatus from "NoticeType", then meetStatus from the host's e-mail.
    void GetAppointmentNoticeType(NOTEHANDLE note, AppointmentInfo& record);
    // Appends the links of the note's MIME body (opened with the MIME flag) to description.
    void GetURLFromAppointmentMIMEBody(NOTEHANDLE note, CString& description);
    // Appends every text of the shared buffer between startTag and the next endTag to text,
    // each between lines of three blanks.
    void CollectTaggedText(const char* startTag, const char* endTag, CString& text);

    std::unique_ptr<char[]> m_pTextBuffer; // the shared text buffer; null until allocated
    DBHANDLE m_hMailDB = NULLHANDLE;       // the mail database while an operation uses it
    // The range starts empty (both ends at time zero), so a re-read before the first
    // listing finds nothing in the mail file.
    TIMEDATE m_tdRangeStart = {};   // the current range's first day at 00:00:00
    TIMEDATE m_tdRangeEnd = {};     // the current range's last day at 23:59:00
    char m_strServerName[256] = {}; // the mail server's name; empty for a local mail file
    CNoteDataStore m_dataStore;     // appointment and name caches, and the mail profile
};
