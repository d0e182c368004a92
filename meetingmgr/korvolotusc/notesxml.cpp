#include "notesxml.h"

#include "stringutil.h"

#include <cstdio>
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

// Appends to a document.
class TextAppender {
  public:
    explicit TextAppender(CString& out) : m_out(out) {}
    void Ascii(std::string_view text) {
        const size_t at = m_out.size();
        m_out.resize(at + text.size());
        for (size_t i = 0; i < text.size(); ++i)
            m_out[at + i] = static_cast<WCHAR>(static_cast<unsigned char>(text[i]));
    }
    void Text(const CString& text) { m_out += text; }
    // Appends text with every "&" written as "&amp;" and every "<" as "&lt;".
    void Escaped(const CString& text) {
        size_t done = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != KORVO_W('&') && text[i] != KORVO_W('<'))
                continue;
            m_out.append(text, done, i - done);
            Ascii(text[i] == KORVO_W('&') ? "&amp;" : "&lt;");
            done = i + 1;
        }
        m_out.append(text, done, CString::npos);
    }

  private:
    CString& m_out; // the document
};

template <typename Out> void WriteNumber(Out& out, int32_t value) {
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    out.Ascii(std::string_view(text, static_cast<size_t>(length)));
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
    CString xml;
    xml.reserve(counter.Length());
    TextAppender appender(xml);
    write(appender);
    return xml;
}

// Appends ASCII text.
void Append(CString& out, const char* ascii) {
    TextAppender(out).Ascii(ascii);
}

} // namespace

CString EscapeXmlText(const CString& text) {
    if (text.find_first_of(KORVO_W("&<")) == CString::npos)
        return text;
    CString escaped;
    escaped.reserve(text.size() + 8);
    TextAppender(escaped).Escaped(text);
    return escaped;
}

CString AppointmentXml(const AppointmentInfo& record) {
    return SizedDocument([&record](auto& out) { WriteAppointment(out, record); });
}

CString AppointmentListXml(const std::vector<AppointmentInfo>& records) {
    return SizedDocument([&records](auto& out) { WriteAppointmentList(out, records); });
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
