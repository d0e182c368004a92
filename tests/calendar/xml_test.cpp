// The host's XML documents, compared byte for byte with the files under data/xml.
#include "data_file.h"
#include "notesxml.h"

#include "rk/convert.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

// UTF-8 form of wide text; a surrogate pair becomes one four-byte character.
std::string Utf8(const CString& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(rk_str_convert(65001, out.data(), static_cast<unsigned>(out.size()), text.data(),
                              static_cast<unsigned>(text.size())));
    return out;
}

// Non-ASCII text, CR LF, a surrogate pair; members the document leaves out are set too.
AppointmentInfo MeetingWithAttendees() {
    AppointmentInfo record;
    record.startTime = {2012, 3, 1, 5, 9, 5, 7, 250};
    record.endTime = {2012, 3, 1, 5, 10, 30, 0, 0};
    record.duration = 85;
    record.meetStatus = 3;
    record.subject = KORVO_W("Réunion budget 2012");
    record.location = KORVO_W("Room 4 \u2013 会议室");
    record.description = KORVO_W("Agenda:\r\n1. Review \U0001F4C5\n2. Plan");
    record.hostName = KORVO_W("Ann Lee");
    record.hostEmail = KORVO_W("ann.lee@acme.example");
    record.entryID = KORVO_W("0123456789ABCDEF0123456789ABCDEF");
    record.apptUNID = KORVO_W("left out");
    record.isRecurrent = true;
    record.responseStatus = 1;
    record.busyStatus = 2;
    const SYSTEMTIME looked = {2012, 3, 1, 5, 8, 0, 0, 0};
    const CString out = KORVO_W("left out");
    record.attendees = {
        {{out, KORVO_W("Bob & <Stone>"), KORVO_W("bob&stone@acme.example"), out, out, out, looked},
         0,
         1,
         0},
        {{out, KORVO_W("Chloé Durand"), KORVO_W("chloe@partner.example"), {}, {}, {}, looked},
         2,
         1,
         3}};
    return record;
}

// Escaped and unescaped members, negative numbers, zero times, no attendees.
AppointmentInfo MeetingNeedingEscapes() {
    AppointmentInfo record;
    record.subject = KORVO_W("R&D <budget> \"review\" ]]> done");
    record.location = KORVO_W("A<B&C");
    record.description = KORVO_W("&amp; stays &amp;");
    record.hostName = KORVO_W("Smith & Sons <CEO>");
    record.hostEmail = KORVO_W("a&b<c@x.example");
    record.korvocOIEx = KORVO_W("k<&>");
    record.duration = -30;
    record.meetStatus = INT32_MIN;
    record.isAllDayEvent = 7;
    record.responseStatus = -1;
    record.entryID = KORVO_W("<&>");
    record.eventtype = 13;
    return record;
}

using XmlRow = std::pair<const char*, std::function<CString()>>; // file, writer

class XmlDocumentTest : public ::testing::TestWithParam<XmlRow> {};

TEST_P(XmlDocumentTest, MatchesTheExpectedFile) {
    const std::string expected = korvo_test::FileBytes(std::filesystem::path(KORVO_CALENDAR_DATA) /
                                                       "xml" / GetParam().first);
    ASSERT_FALSE(expected.empty()) << GetParam().first;
    EXPECT_EQ(Utf8(GetParam().second()), expected) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, XmlDocumentTest,
    ::testing::Values(XmlRow{"appointment_with_attendees.xml",
                             [] { return AppointmentXml(MeetingWithAttendees()); }},
                      XmlRow{"appointment_escaping.xml",
                             [] { return AppointmentXml(MeetingNeedingEscapes()); }},
                      XmlRow{"appointments_none.xml",
                             [] {
                                 const platform::UniqueBstr xml = AppointmentListBstr({});
                                 return CString(xml.Get(), platform::SysStringLen(xml.Get()));
                             }},
                      XmlRow{"profile.xml", [] {
                                 return ProfileXml(KORVO_W("a&b@acme.example"), KORVO_W("Mail1"),
                                                   KORVO_W("C1"), KORVO_W("V1"), KORVO_W("D1"),
                                                   KORVO_W("V2"), KORVO_W("<V3>"));
                             }}));

} // namespace
