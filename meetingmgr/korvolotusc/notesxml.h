// The XML documents handed to the host: one appointment, a list of appointments, and the
// user's mail profile. They carry no declaration, namespace, attributes or white space
// between elements. The writers cannot fail on any record; running out of memory throws
// std::bad_alloc and returns nothing partial.
#pragma once

#include "appointmentinfo.h"

#include "platform/oleauto.h"

#include <vector>

// The text with every "&" written as "&amp;" and every "<" as "&lt;"; nothing else changes.
CString EscapeXmlText(const CString& text);

// One "appointment" element. Subject, location, description, attendee names and e-mails
// are escaped and put in CDATA; hostEmail and korvocOIEx go in CDATA unescaped; hostName and
// entryID are written as they are.
CString AppointmentXml(const AppointmentInfo& record);

// The "appointments" document (each record's element in order) written straight into a new
// BSTR, which the caller owns; a null one when the platform has no memory for it. A large
// listing is thus never held as a string first.
platform::UniqueBstr AppointmentListBstr(const std::vector<AppointmentInfo>& records);

// The "CurrentOLProfile" fragment with the seven profile strings inserted as they are.
CString ProfileXml(const CString& emailAddress, const CString& serverIP, const CString& apptDBID,
                   const CString& apptViewID, const CString& emailDBID,
                   const CString& inboxEmailViewID, const CString& sentEmailViewID);
