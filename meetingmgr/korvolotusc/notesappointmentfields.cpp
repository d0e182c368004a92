// The fields of one appointment: its note's items read into an AppointmentInfo and mapped
// onto the host's numbers for busy, response and meeting status.
#include "calendaropen.h"
#include "notesmailcalendar.h"
#include "notesmime.h"
#include "notesnotes.h"
#include "notestime.h"
#include "stringutil.h"
#include "trace.h"

#include "rk/convert.h"

#include <algorithm>
#include <cstring>

static constexpr char kTraceSource[] = "notesmailcalendar.cpp";

namespace {

constexpr uint16_t kShortItem = 256;    // bytes read of a short item
constexpr uint16_t kSubjectItem = 1024; // bytes read of the subject or location
constexpr size_t kNameLimit = 256;      // an attendee name must be shorter than this
constexpr size_t kTaggedTextLimit = 1024;
const char* const kAttendeeItems[] = {"RequiredAttendees", "OptionalAttendees", "FYIAttendees"};
constexpr char kNoticeTypeLetters[] = "IUCNARTDL"; // NoticeType letters by their index

constexpr int32_t kResponseAccepted = 3;  // notice letter A
constexpr int32_t kResponseDeclined = 4;  // notice letter R
constexpr int32_t kResponseCancelled = 6; // notice letter C
constexpr int32_t kResponseOrganizer = 1; // the user organises the meeting
constexpr int32_t kMeetOrganized = 1;
constexpr int32_t kMeetReceived = 3;
constexpr int32_t kMeetCancelledReceived = 5;
constexpr int32_t kMeetCancelledOrganized = 7;
constexpr int32_t kApptTypeFromItem = 5; // the entry's type says: read the note's item

const char kUrlMarker[] = "\n=====URL From message body in MIME format=======\n";

// Reads itemName (LMBCS, at most kSubjectItem bytes) translated to UTF-8 into utf8.
bool ReadTranslatedItem(NOTEHANDLE note, const char* itemName, char (&utf8)[kSubjectItem]) {
    char text[kSubjectItem] = {};
    const bool found = GetTextByNoteItem(note, itemName, text, sizeof text);
    utf8[0] = '\0';
    OSTranslate(OS_TRANSLATE_LMBCS_TO_UTF8, text, static_cast<uint16_t>(std::strlen(text)), utf8,
                sizeof utf8 - 1);
    utf8[sizeof utf8 - 1] = '\0';
    return found;
}

// The host's code of a Notes appointment type (0 to 4), 0 for any other.
int32_t MapApptType(int code) {
    switch (code) {
    case 0:
        return 1;
    case 1:
        return 2;
    case 2:
        return 4;
    case 3:
        return 8;
    case 4:
        return 16;
    default:
        return 0;
    }
}

} // namespace

int32_t CNotesCalendar::ParseAppointmentItem(const CalendarEventEntry& entry,
                                             AppointmentInfo& out) {
    NOTEHANDLE note = NULLHANDLE;
    if (!OpenAppointment(m_hMailDB, entry, &note, false)) {
        KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCalendar::ParseAppointmentItem",
                    "fail to open note!!");
        return 0;
    }
    out.isRecurrent = GetAppointmentRepeats(note, entry);
    if (!GetValidAppointmentTime(note, out)) {
        CloseNote(note);
        return 0;
    }
    GetAppointmentBusyPriority(note, out.busyStatus);
    GetAppointmentSubject(note, out.subject);
    GetAppointmentLocation(note, out.location);
    GetAppointmentBody(note, out.description);
    GetAppointmentHostInfo(note, entry, out.hostName, out.hostEmail);
    GetAppointmentAppUNID(note, entry, out.apptUNID);
    GetAppointmentType(note, entry, out.apptType);
    out.isAllDayEvent = (out.apptType == 2 || out.apptType == 4) ? 1 : 0;
    GetNoteOID(note, out.entryID);
    RK::CStringT<char> entryId;
    RK::_cstring_set(entryId, 0, out.entryID.c_str(), static_cast<unsigned>(out.entryID.size()));
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::ParseAppointmentItem", "Meeting UNID[%s]",
                entryId.c_str());
    GetAppointmentNoticeType(note, out);
    if (out.responseStatus == kResponseOrganizer)
        for (int32_t list = 0; list < 3; ++list)
            GetAttendeeNameFromList(note, list, out.attendees);
    CloseNote(note);

    if (OpenAppointment(m_hMailDB, entry, &note, true)) {
        if (NSFNoteHasMIMEPart(note))
            GetURLFromAppointmentMIMEBody(note, out.description);
        CloseNote(note);
    }
    return 1;
}

int32_t CNotesCalendar::GetValidAppointmentTime(NOTEHANDLE note, AppointmentInfo& record) {
    TIMEDATE start{};
    TIMEDATE end{};
    if (record.isRecurrent) {
        if (!GetTimeListByNoteItem(*this, note, &start, &end))
            return 0;
    } else if (!GetTimeByNoteItem(note, "StartDateTime", &start) ||
               !GetTimeByNoteItem(note, "EndDateTime", &end)) {
        return 0;
    }
    if (!ConvertAppointmentTimeToSYSTEMTIME(start, &record.startTime) ||
        !ConvertAppointmentTimeToSYSTEMTIME(end, &record.endTime))
        return 0;
    record.duration = GetTimeDuration(start, end);
    const SYSTEMTIME& s = record.startTime;
    const SYSTEMTIME& e = record.endTime;
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetValidAppointmentTime",
                "meeting time between [%d/%d/%d %d:%d:%d] and [%d/%d/%d %d:%d:%d],nDuration[%d]",
                s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond, e.wYear, e.wMonth, e.wDay,
                e.wHour, e.wMinute, e.wSecond, record.duration);
    return 1;
}

bool CNotesCalendar::GetAppointmentRepeats(NOTEHANDLE note, const CalendarEventEntry& entry) {
    if (entry.fromSchedule != 0) {
        char text[kShortItem] = {};
        GetTextByNoteItem(note, "Repeats", text, sizeof text);
        if (StringUtil::IsSameString(text, "1"))
            return true;
    }
    return entry.recurrenceId[0] != '\0';
}

void CNotesCalendar::GetAppointmentBusyPriority(NOTEHANDLE note, int32_t& busyStatus) {
    char text[kShortItem] = {};
    GetTextByNoteItem(note, "$BusyPriority", text, sizeof text);
    busyStatus = StringUtil::IsSameString(text, "1") ? 2 : 0;
}

void CNotesCalendar::GetAppointmentSubject(NOTEHANDLE note, CString& subject) {
    char utf8[kSubjectItem];
    bool found = ReadTranslatedItem(note, "Subject", utf8);
    if (!found)
        found = ReadTranslatedItem(note, "Topic", utf8);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetAppointmentSubject",
                "NOTEC_DEBUG_LOG : CNotesCalendar::GetAppointmentSubject = %s", utf8);
    subject.clear();
    if (found)
        StringUtil::Utf8ToWide(utf8, subject);
    else
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAppointmentSubject",
                    "fail to get Meeting Subject!!");
}

void CNotesCalendar::GetAppointmentLocation(NOTEHANDLE note, CString& location) {
    char utf8[kSubjectItem];
    const bool found = ReadTranslatedItem(note, "Location", utf8);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetAppointmentLocation",
                "NOTEC_DEBUG_LOG : CNotesCalendar::GetAppointmentLocation = %s", utf8);
    location.clear();
    if (found)
        StringUtil::Utf8ToWide(utf8, location);
    else
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAppointmentLocation",
                    "fail to get Meeting Location!!");
}

void CNotesCalendar::GetAppointmentBody(NOTEHANDLE note, CString& description) {
    char* const buffer = m_pTextBuffer.get();
    if (buffer == nullptr) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAppointmentBody", "No buffer!!");
        return;
    }
    std::memset(buffer, 0, kBodyBufferSize);
    description.clear();
    if (GetCompositeTextByNoteItem(note, buffer))
        StringUtil::Utf8ToWide(buffer, description);
    else
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAppointmentBody",
                    "fail to get Meeting description!!");
}

void CNotesCalendar::GetAppointmentHostInfo(NOTEHANDLE note, const CalendarEventEntry& entry,
                                            CString& name, CString& email) {
    char chair[kShortItem] = {};
    if (entry.organizer[0] != '\0') {
        StringUtil::GetSubString(entry.organizer, '\0', sizeof chair, chair);
    } else if (!GetTextByNoteItem(note, "Chair", chair, sizeof chair)) {
        name.clear();
        email.clear();
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAppointmentHostInfo",
                    "fail to get host name!!");
        return;
    }
    AttendeeInfo resolved;
    GetAttendeeInfo(chair, resolved);
    name = resolved.key;
    email = resolved.email;
}

void CNotesCalendar::GetAppointmentAppUNID(NOTEHANDLE note, const CalendarEventEntry& entry,
                                           CString& out) {
    if (entry.unidText[0] != '\0') {
        out = StringUtil::WidenAnsi(entry.unidText);
        return;
    }
    char text[kShortItem] = {};
    const bool found = GetTextByNoteItem(note, "ApptUNID", text, sizeof text);
    KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetAppointmentAppUNID",
                "NOTEC_DEBUG_LOG : CNotesCalendar::GetAppointmentAppUNID = %s", text);
    out.clear();
    if (found)
        out = StringUtil::WidenAnsi(text);
    else
        KORVO_TRACE(PM_SDK::kLevelFailure, "CNotesCalendar::GetAppointmentAppUNID",
                    "fail to get Meeting UNID!!");
}

void CNotesCalendar::GetAppointmentType(NOTEHANDLE note, const CalendarEventEntry& entry,
                                        int32_t& apptType) {
    int code = entry.apptType;
    if (code == kApptTypeFromItem) {
        char text[kShortItem] = {};
        code = GetTextByNoteItem(note, "AppointmentType", text, sizeof text) && text[0] != '\0'
                   ? text[0] - '0'
                   : -1;
    }
    apptType = MapApptType(code);
}

void CNotesCalendar::GetAppointmentNoticeType(NOTEHANDLE note, AppointmentInfo& record) {
    record.responseStatus = 0;
    char text[kShortItem] = {};
    GetTextByNoteItem(note, "NoticeType", text, sizeof text);
    const char* letter = text[0] != '\0' ? std::strchr(kNoticeTypeLetters, text[0]) : nullptr;
    switch (letter != nullptr ? letter - kNoticeTypeLetters : -1) {
    case 4:
        record.responseStatus = kResponseAccepted;
        break;
    case 5:
        record.responseStatus = kResponseDeclined;
        break;
    case 2:
        record.responseStatus = kResponseCancelled;
        break;
    default:
        break;
    }
    const bool organizer = record.hostEmail == m_dataStore.EmailAddress;
    const bool cancelled = record.responseStatus == kResponseCancelled;
    if (organizer) {
        record.meetStatus = cancelled ? kMeetCancelledOrganized : kMeetOrganized;
        if (!cancelled)
            record.responseStatus = kResponseOrganizer;
    } else {
        record.meetStatus = cancelled ? kMeetCancelledReceived : kMeetReceived;
    }
}

void CNotesCalendar::GetURLFromAppointmentMIMEBody(NOTEHANDLE note, CString& description) {
    char* const buffer = m_pTextBuffer.get();
    if (buffer == nullptr)
        return;
    GetBodyMIMEText(note, buffer);
    if (buffer[0] == '\0') {
        KORVO_TRACE(PM_SDK::kLevelProgress, "CNotesCalendar::GetURLFromAppointmentMIMEBody",
                    "There is no MIME data in body.");
        return;
    }
    CString links;
    CollectTaggedText("HREF=\"", "\"", links);
    CollectTaggedText("href=\"", "\"", links);
    if (links.empty())
        return;
    description += StringUtil::WidenAnsi(kUrlMarker);
    description += links;
}

void CNotesCalendar::CollectTaggedText(const char* startTag, const char* endTag, CString& text) {
    const char* position = m_pTextBuffer.get();
    if (position == nullptr)
        return;
    const CString blanks = StringUtil::WidenAnsi("   \n");
    while (*position != '\0') {
        const char* start = std::strstr(position, startTag);
        const char* end =
            start != nullptr ? std::strstr(start + std::strlen(startTag), endTag) : nullptr;
        if (end == nullptr) {
            KORVO_TRACE(PM_SDK::kLevelRejected, "StringUtil::GetSubString", "Invalid parameter!!");
            return;
        }
        char piece[kTaggedTextLimit] = {};
        StringUtil::GetSubString(start + std::strlen(startTag), end, sizeof piece, piece);
        position = end + std::strlen(endTag);
        text += blanks;
        text += StringUtil::WidenAnsi(piece);
        text += blanks;
    }
}

void CNotesCalendar::GetAttendeeNameFromList(NOTEHANDLE note, int32_t list,
                                             std::vector<AttendeeInfo>& out) {
    char* const buffer = m_pTextBuffer.get();
    if (!GetTextByNoteItem(note, kAttendeeItems[list], buffer, kBodyBufferSize))
        return;
    AttendeeInfo record;
    record.recipType = list;
    record.attendType = 1;
    // responseType stays 0: the mail file records no per-attendee response here.
    const size_t textLength = std::strlen(buffer);
    if (textLength == 0)
        return;
    // At most one attendee per separator and one after the last: room for all of them at once.
    out.reserve(out.size() + static_cast<size_t>(std::count(buffer, buffer + textLength, ';')) + 1);
    size_t start = 0;
    while (start < textLength) {
        // A ";" counts only where a character begins, not as a byte inside an LMBCS group.
        const size_t separator = StringUtil::FindInLmbcs(buffer, textLength, start, ";");
        const size_t length = separator - start;
        if (length >= kNameLimit) {
            char head[kNameLimit] = {};
            std::memcpy(head, buffer + start, kNameLimit - 1);
            KORVO_TRACE(PM_SDK::kLevelDetail, "CNotesCalendar::GetAttendeeNameFromList",
                        "Name buffer for[%s] is not enough!!", head);
        } else if (length > 0) {
            // An empty name between two separators names nobody and yields no attendee.
            char single[kNameLimit] = {};
            std::memcpy(single, buffer + start, length);
            GetAttendeeInfo(single, record);
            out.push_back(record);
        }
        start = separator + 1;
    }
}
