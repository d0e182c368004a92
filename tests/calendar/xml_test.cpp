// The host's XML documents, compared byte for byte with the files under data/xml.
#include "data_file.h"
#include "notesxml.h"

#include "rk/convert.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

// UTF-8 form of wide text (surrogate pairs become one four-byte character).
std::string Utf8(const CString& text) {
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(rk_str_convert(65001, out.data(), static_cast<unsigned>(out.size()), text.data(),
                              static_cast<unsigned>(text.size())));
    return out;
}

CString W(const char* utf8) {
    CString out(std::char_traits<char>::length(utf8) + 1, WCHAR());
    out.resize(rk_str_convert(65001, out.data(), static_cast<unsigned>(out.size()), utf8,
                              static_cast<unsigned>(std::char_traits<char>::length(utf8))));
    return out;
}

AttendeeInfo Attendee(const char* name, const char* email, int32_t recipType,
                      int32_t responseType) {
    AttendeeInfo attendee;
    attendee.key = W("not written");
    attendee.name = W(name);
    attendee.email = W(email);
    attendee.extra1 = W("not written");
    attendee.lookupTime = {2012, 3, 1, 5, 8, 0, 0, 0};
    attendee.recipType = recipType;
    attendee.attendType = 1;
    attendee.responseType = responseType;
    return attendee;
}

// Non-ASCII text, a CR LF and a surrogate pair, two attendees (one needing escapes).
AppointmentInfo MeetingWithAttendees() {
    AppointmentInfo record;
    record.startTime = {2012, 3, 1, 5, 9, 5, 7, 250};
    record.endTime = {2012, 3, 1, 5, 10, 30, 0, 0};
    record.duration = 85;
    record.meetStatus = 3;
    record.subject = W("Réunion budget 2012");
    record.location = W("Room 4 \u2013 会议室");
    record.description = W("Agenda:\r\n1. Review \U0001F4C5\n2. Plan");
    record.hostName = W("Ann Lee");
    record.hostEmail = W("ann.lee@acme.example");
    record.apptType = 1;
    record.entryID = W("0123456789ABCDEF0123456789ABCDEF");
    record.apptUNID = W("not written");
    record.isRecurrent = true;
    record.responseStatus = 1;
    record.busyStatus = 2;
    record.attendees = {Attendee("Bob & <Stone>", "bob&stone@acme.example", 0, 0),
                        Attendee("Chloé Durand", "chloe@partner.example", 2, 3)};
    return record;
}

// Escaped and unescaped members, negative numbers, zero times, no attendees.
AppointmentInfo MeetingNeedingEscapes() {
    AppointmentInfo record;
    record.subject = W("R&D <budget> \"review\" ]]> done");
    record.location = W("A<B&C");
    record.description = W("&amp; stays &amp;");
    record.hostName = W("Smith & Sons <CEO>");
    record.hostEmail = W("a&b<c@x.example");
    record.korvocOIEx = W("k<&>");
    record.duration = -30;
    record.meetStatus = INT32_MIN;
    record.isAllDayEvent = 7;
    record.responseStatus = -1;
    record.entryID = W("<&>");
    record.eventtype = 13;
    return record;
}

struct XmlRow {
    const char* file;             // expected document under data/xml
    std::function<CString()> xml; // writes the document
};

std::ostream& operator<<(std::ostream& out, const XmlRow& row) {
    return out << row.file;
}

class XmlDocumentTest : public ::testing::TestWithParam<XmlRow> {};

TEST_P(XmlDocumentTest, MatchesTheExpectedFile) {
    const std::string expected = korvo_test::ReadDataFile(std::string("xml/") + GetParam().file);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Utf8(GetParam().xml()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlDocumentTest,
    ::testing::Values(
        XmlRow{"appointment_with_attendees.xml",
               [] { return AppointmentXml(MeetingWithAttendees()); }},
        XmlRow{"appointment_escaping.xml", [] { return AppointmentXml(MeetingNeedingEscapes()); }},
        XmlRow{"appointment_empty.xml", [] { return AppointmentXml(AppointmentInfo{}); }},
        XmlRow{"appointments_two.xml",
               [] {
                   return AppointmentListXml({MeetingWithAttendees(), MeetingNeedingEscapes()});
               }},
        XmlRow{"appointments_none.xml", [] { return AppointmentListXml({}); }},
        XmlRow{"profile.xml",
               [] {
                   return ProfileXml(W("ann&lee@acme.example"), W("Mail1"), W("C1257E2B0036A1F2"),
                                     W("8FA3C51D0B7E4A2C85257E2B0036A1F2"), W("0000ABCD00001234"),
                                     W("1B2C3D4E5F60718293A4B5C6D7E8F901"), W("<Sent>"));
               }},
        XmlRow{"profile_empty.xml", [] {
                   const CString empty;
                   return ProfileXml(empty, empty, empty, empty, empty, empty, empty);
               }}));

TEST(EscapeXmlTextTest, ReplacesOnlyAmpersandAndLessThan) {
    const std::pair<const char*, const char*> rows[] = {
        {"", ""},
        {"a > b \"c\" 'd' ]]>", "a > b \"c\" 'd' ]]>"},
        {"&&<", "&amp;&amp;&lt;"},
        {"&lt;", "&amp;lt;"},
    };
    for (const auto& [text, escaped] : rows)
        EXPECT_EQ(Utf8(EscapeXmlText(W(text))), escaped) << text;
}

} // namespace
