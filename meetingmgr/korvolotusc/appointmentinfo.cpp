#include "appointmentinfo.h"

#include "platform/codepage.h"

#include <climits>

namespace {

// The same calendar minute: seconds, milliseconds and the day of the week do not count.
bool IsSameMinute(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute;
}

// Equal in the user's locale, ignoring case. Texts too long for one comparison differ.
bool IsSameTextIgnoringCase(const CString& a, const CString& b) {
    constexpr int kCompareEqual = 2; // CSTR_EQUAL
    if (a.size() > INT_MAX || b.size() > INT_MAX)
        return false;
    return platform::CompareStringIgnoreCase(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                             static_cast<int>(b.size())) == kCompareEqual;
}

} // namespace

bool IsSameAppointment(const AppointmentInfo& a, const AppointmentInfo& b) {
    if (!IsSameMinute(a.startTime, b.startTime) || !IsSameMinute(a.endTime, b.endTime))
        return false;
    if (a.subject != b.subject || a.location != b.location || a.description != b.description)
        return false;
    if (!IsSameTextIgnoringCase(a.korvocOIEx, b.korvocOIEx))
        return false;
    if (a.duration != b.duration || a.meetStatus != b.meetStatus ||
        a.isAllDayEvent != b.isAllDayEvent || a.responseStatus != b.responseStatus ||
        a.busyStatus != b.busyStatus || a.isRecurrent != b.isRecurrent)
        return false;
    if (a.entryID != b.entryID || a.attendees.size() != b.attendees.size())
        return false;
    for (size_t i = 0; i < a.attendees.size(); ++i) {
        if (!IsSameTextIgnoringCase(a.attendees[i].email, b.attendees[i].email) ||
            a.attendees[i].responseType != b.attendees[i].responseType)
            return false;
    }
    return true;
}
