#include "notesxml.h"

#include "stringutil.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

// Measures the text a document will have, so the document is allocated once.
class LengthCounter {
  public:
    void Ascii(std::string_view text) { m_length += text.size(); }
    void Text(const CString& text) { m_length += text.size(); }
    void Escaped(const CString& text) {
        m_length += text.size();
        for (const WCHAR ch : text)
            m_length += ch == KORVO_W('&') ? 4 : ch == KORVO_W('<') ? 3 : 0;
    }
    size_t Length() const { return m_length; }

  private:
    size_t m_length = 0; // characters counted so far
};

// Writes a document into storage already measured for it (LengthCounter).
class BufferWriter {
  public:
    explicit BufferWriter(WCHAR* at) : m_at(at) {}
    void Ascii(std::string_view text) {
        for (const char ch : text)
            *m_at++ = static_cast<WCHAR>(static_cast<unsigned char>(ch));
    }
    void Text(const CString& text) { m_at = std::copy(text.begin(), text.end(), m_at); }
    // Writes text with every "&" written as "&amp;" and every "<" as "&lt;".
    void Escaped(const CString& text) {
        auto done = text.begin();
        for (auto at = text.begin(); at != text.end(); ++at) {
            if (*at != KORVO_W('&') && *at != KORVO_W('<'))
                continue;
            m_at = std::copy(done, at, m_at);
            Ascii(*at == KORVO_W('&') ? "&amp;" : "&lt;");
            done = at + 1;
        }
        m_at = std::copy(done, text.end(), m_at);
    }

  private:
    WCHAR* m_at; // where the next character goes
};

template <typename Out> void WriteNumber(Out& out, int32_t value) {
    CString text;
    StringUtil::AppendPadded(text, value, 0);
    out.Text(text);
}

// "TRUE" for a non-zero value, else "FALSE".
template <typename Out> void WriteFlag(Out& out, int32_t value) {
    out.Ascii(value != 0 ? "TRUE" : "FALSE");
}

// "<![CDATA[" text "]]>", the text escaped or as it is.
template <typename Out> void WriteCData(Out& out, const CString& text, bool escape) {
    out.Ascii("<![CDATA[");
    if (escape)
        out.Escaped(text);
    else
        out.Text(text);
    out.Ascii("]]>");
}

template <typename Out> void WriteAttendee(Out& out, const AttendeeInfo& attendee) {
    out.Ascii("<attendee><name>");
    WriteCData(out, attendee.name, true);
    out.Ascii("</name><email>");
    WriteCData(out, attendee.email, true);
    out.Ascii("</email><attendType>");
    WriteNumber(out, attendee.attendType);
    out.Ascii("</attendType><recipType>");
    WriteNumber(out, attendee.recipType);
    out.Ascii("</recipType><responseType>");
    WriteNumber(out, attendee.responseType);
    out.Ascii("</responseType></attendee>");
}

template <typename Out> void WriteAppointment(Out& out, const AppointmentInfo& record) {
    out.Ascii("<appointment><subject>");
    WriteCData(out, record.subject, true);
    out.Ascii("</subject><location>");
    WriteCData(out, record.location, true);
    out.Ascii("</location><description>");
    WriteCData(out, record.description, true);
    out.Ascii("</description><hostName>");
    out.Text(record.hostName);
    out.Ascii("</hostName><hostEmail>");
    WriteCData(out, record.hostEmail, false);
    out.Ascii("</hostEmail><duration>");
    WriteNumber(out, record.duration);
    out.Ascii("</duration><meetStatus>");
    WriteNumber(out, record.meetStatus);
    out.Ascii("</meetStatus><isRecurrent>");
    WriteFlag(out, record.isRecurrent ? 1 : 0);
    out.Ascii("</isRecurrent><isAllDayEvent>");
    WriteFlag(out, record.isAllDayEvent);
    out.Ascii("</isAllDayEvent><responseStatus>");
    WriteNumber(out, record.responseStatus);
    out.Ascii("</responseStatus><busyStatus>");
    WriteNumber(out, record.busyStatus);
    out.Ascii("</busyStatus><korvocOIEx>");
    WriteCData(out, record.korvocOIEx, false);
    out.Ascii("</korvocOIEx><startTime>");
    out.Text(StringUtil::FormatSystemTime(record.startTime));
    out.Ascii("</startTime><endTime>");
    out.Text(StringUtil::FormatSystemTime(record.endTime));
    out.Ascii("</endTime><entryID>");
    out.Text(record.entryID);
    out.Ascii("</entryID><eventtype><![CDATA[");
    WriteNumber(out, record.eventtype);
    out.Ascii("]]></eventtype><attendees>");
    for (const AttendeeInfo& attendee : record.attendees)
        WriteAttendee(out, attendee);
    out.Ascii("</attendees></appointment>");
}

template <typename Out>
void WriteAppointmentList(Out& out, const std::vector<AppointmentInfo>& records) {
    out.Ascii("<appointments>");
    for (const AppointmentInfo& record : records)
        WriteAppointment(out, record);
    out.Ascii("</appointments>");
}

// Writes a document in two passes: the first measures it, the second fills a string of
// exactly that size, so a large document is never copied while it grows.
template <typename Write> CString SizedDocument(Write write) {
    LengthCounter counter;
    write(counter);
    CString xml(counter.Length(), WCHAR());
    BufferWriter writer(xml.data());
    write(writer);
    return xml;
}

// As SizedDocument, into a BSTR; a null one when the platform gives no memory for it.
template <typename Write> platform::UniqueBstr SizedBstr(Write write) {
    LengthCounter counter;
    write(counter);
    if (counter.Length() > UINT32_MAX / sizeof(WCHAR))
        return {};
    // Uninitialised: the writer fills every unit.
    platform::UniqueBstr xml(platform::SysAllocStringByteLen(
        nullptr, static_cast<uint32_t>(counter.Length() * sizeof(WCHAR))));
    if (xml) {
        BufferWriter writer(xml.Get());
        write(writer);
    }
    return xml;
}

// Appends ASCII text.
void Append(CString& out, std::string_view ascii) {
    for (const char ch : ascii)
        out.push_back(static_cast<WCHAR>(static_cast<unsigned char>(ch)));
}

} // namespace

CString EscapeXmlText(const CString& text) {
    if (text.find_first_of(KORVO_W("&<")) == CString::npos)
        return text;
    return SizedDocument([&text](auto& out) { out.Escaped(text); });
}

CString AppointmentXml(const AppointmentInfo& record) {
    return SizedDocument([&record](auto& out) { WriteAppointment(out, record); });
}

platform::UniqueBstr AppointmentListBstr(const std::vector<AppointmentInfo>& records) {
    return SizedBstr([&records](auto& out) { WriteAppointmentList(out, records); });
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
