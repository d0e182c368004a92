#include "notesxml.h"

#include "stringutil.h"

#include <cstdio>

namespace {

// Appends ASCII text.
void Append(CString& out, const char* ascii) {
    for (; *ascii != '\0'; ++ascii)
        out.push_back(static_cast<WCHAR>(*ascii));
}

// Appends a number in decimal.
void AppendNumber(CString& out, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    Append(out, text);
}

// Appends "TRUE" for a non-zero value, else "FALSE".
void AppendFlag(CString& out, int32_t value) {
    Append(out, value != 0 ? "TRUE" : "FALSE");
}

// Appends "<![CDATA[" text "]]>".
void AppendCData(CString& out, const CString& text) {
    Append(out, "<![CDATA[");
    out += text;
    Append(out, "]]>");
}

void AppendAttendee(CString& out, const AttendeeInfo& attendee) {
    Append(out, "<attendee><name>");
    AppendCData(out, EscapeXmlText(attendee.name));
    Append(out, "</name><email>");
    AppendCData(out, EscapeXmlText(attendee.email));
    Append(out, "</email><attendType>");
    AppendNumber(out, attendee.attendType);
    Append(out, "</attendType><recipType>");
    AppendNumber(out, attendee.recipType);
    Append(out, "</recipType><responseType>");
    AppendNumber(out, attendee.responseType);
    Append(out, "</responseType></attendee>");
}

void AppendAppointment(CString& out, const AppointmentInfo& record) {
    Append(out, "<appointment><subject>");
    AppendCData(out, EscapeXmlText(record.subject));
    Append(out, "</subject><location>");
    AppendCData(out, EscapeXmlText(record.location));
    Append(out, "</location><description>");
    AppendCData(out, EscapeXmlText(record.description));
    Append(out, "</description><hostName>");
    out += record.hostName;
    Append(out, "</hostName><hostEmail>");
    AppendCData(out, record.hostEmail);
    Append(out, "</hostEmail><duration>");
    AppendNumber(out, record.duration);
    Append(out, "</duration><meetStatus>");
    AppendNumber(out, record.meetStatus);
    Append(out, "</meetStatus><isRecurrent>");
    AppendFlag(out, record.isRecurrent ? 1 : 0);
    Append(out, "</isRecurrent><isAllDayEvent>");
    AppendFlag(out, record.isAllDayEvent);
    Append(out, "</isAllDayEvent><responseStatus>");
    AppendNumber(out, record.responseStatus);
    Append(out, "</responseStatus><busyStatus>");
    AppendNumber(out, record.busyStatus);
    Append(out, "</busyStatus><korvocOIEx>");
    AppendCData(out, record.korvocOIEx);
    Append(out, "</korvocOIEx><startTime>");
    out += StringUtil::FormatSystemTime(record.startTime);
    Append(out, "</startTime><endTime>");
    out += StringUtil::FormatSystemTime(record.endTime);
    Append(out, "</endTime><entryID>");
    out += record.entryID;
    Append(out, "</entryID><eventtype><![CDATA[");
    AppendNumber(out, record.eventtype);
    Append(out, "]]></eventtype><attendees>");
    for (const AttendeeInfo& attendee : record.attendees)
        AppendAttendee(out, attendee);
    Append(out, "</attendees></appointment>");
}

} // namespace

CString EscapeXmlText(const CString& text) {
    if (text.find_first_of(KORVO_W("&<")) == CString::npos)
        return text;
    CString escaped;
    escaped.reserve(text.size() + 8);
    for (const WCHAR ch : text) {
        if (ch == KORVO_W('&'))
            Append(escaped, "&amp;");
        else if (ch == KORVO_W('<'))
            Append(escaped, "&lt;");
        else
            escaped.push_back(ch);
    }
    return escaped;
}

CString AppointmentXml(const AppointmentInfo& record) {
    CString xml;
    AppendAppointment(xml, record);
    return xml;
}

CString AppointmentListXml(const std::vector<AppointmentInfo>& records) {
    CString xml;
    Append(xml, "<appointments>");
    for (const AppointmentInfo& record : records)
        AppendAppointment(xml, record);
    Append(xml, "</appointments>");
    return xml;
}

CString ProfileXml(const CString& emailAddress, const CString& serverIP, const CString& apptDBID,
                   const CString& apptViewID, const CString& emailDBID,
                   const CString& inboxEmailViewID, const CString& sentEmailViewID) {
    CString xml;
    Append(xml, "<CurrentOLProfile><EmailAddress>");
    xml += emailAddress;
    Append(xml, "</EmailAddress><ServerIP>");
    xml += serverIP;
    Append(xml, "</ServerIP><ApptDBID>");
    xml += apptDBID;
    Append(xml, "</ApptDBID><ApptViewID>");
    xml += apptViewID;
    // Seven tabs and two spaces stand between the view ID and the mail database ID.
    Append(xml, "</ApptViewID>\t\t\t\t\t\t\t  <EmailDBID>");
    xml += emailDBID;
    Append(xml, "</EmailDBID><InboxEmailViewID>");
    xml += inboxEmailViewID;
    Append(xml, "</InboxEmailViewID><SentEmailViewID>");
    xml += sentEmailViewID;
    Append(xml, "</SentEmailViewID></CurrentOLProfile>");
    return xml;
}
