// The calendar's records: one appointment, its attendees, and the part of an attendee that
// the resolved-name cache keeps. Records are values: a copy shares nothing with its source.
// A default-constructed record is the empty record every producer starts from: zero times,
// zero numbers and flags, empty strings, no attendees.
#pragma once

#include "KorvoLotusC.h"

#include "platform/wintypes.h"

#include <cstdint>
#include <vector>

// What the address books told about one Notes name; the value of the resolved-name cache.
struct ResolvedName {
    CString key;             // lookup key of the Notes name; the cache key
    CString name;            // display name
    CString email;           // e-mail address
    CString extra1;          // not filled by this library; copied with the record
    CString extra2;          // not filled by this library; copied with the record
    CString extra3;          // not filled by this library; copied with the record
    SYSTEMTIME lookupTime{}; // local time at which the name entered the cache
};

// One attendee of an appointment: the resolved name and where it came from.
struct AttendeeInfo : ResolvedName {
    int32_t recipType = 0;    // 0 required, 1 optional, 2 for information
    int32_t attendType = 0;   // attendance type, 1 for names read from a list
    int32_t responseType = 0; // the attendee's response
};

// One calendar entry as the host sees it.
struct AppointmentInfo {
    SYSTEMTIME startTime{};              // start of the meeting
    SYSTEMTIME endTime{};                // end of the meeting
    int32_t duration = 0;                // length in minutes
    int32_t meetStatus = 0;              // meeting status code
    CString korvocOIEx;                  // reserved for the meeting client; travels empty
    CString subject;                     // subject
    CString location;                    // location
    CString description;                 // body text
    CString hostName;                    // chair's name in its lookup-key form
    CString hostEmail;                   // chair's e-mail address
    int32_t apptType = 0;                // appointment type code; not sent to the host
    CString entryID;                     // UNID text of the appointment note; the cache key
    CString apptUNID;                    // UNID text from the calendar entry or the note
    bool isRecurrent = false;            // the appointment repeats
    int32_t isAllDayEvent = 0;           // non-zero for an all-day event or anniversary
    int32_t responseStatus = 0;          // the user's response
    int32_t busyStatus = 0;              // busy class, 2 or 0
    std::vector<AttendeeInfo> attendees; // attendees in list order
    int32_t eventtype = 0;               // 0 listed, 14 read again, 13 gone from Notes
};

// Whether a cached meeting is unchanged: start and end equal to the minute; subject,
// location, description and entryID equal exactly; korvocOIEx equal ignoring case; the
// numbers and flags equal; and the same attendees by e-mail (ignoring case) and response in
// the same order. Host, type, UNID text and eventtype take no part.
bool IsSameAppointment(const AppointmentInfo& a, const AppointmentInfo& b);
