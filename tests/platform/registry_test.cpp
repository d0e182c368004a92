// Registry reads as the library makes them, against values a fixture sets up.
#include "row_label.h"
#include "registry_read.h"

#include "platform/registry.h"
#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>

namespace {

using platform::RegistryView;

const char kKey[] = "Software\\Vendra Systems, Inc.\\MeetingIntegration";
constexpr char16_t kKeyW[] = u"Software\\Vendra Systems, Inc.\\MeetingIntegration";

struct LookupRow {
    const char* label;
    const char16_t* path;    // the key opened
    RegistryView view;       // the view it is opened in
    const char16_t* name;    // the value read
    std::u16string expected; // as ReadRegistryValue reports it
};

class RegistryLookupTest : public ::testing::TestWithParam<LookupRow> {};

TEST_P(RegistryLookupTest, OpensAndReads) {
    const LookupRow& row = GetParam();
    platform::testing::ScopedRegistry registry;
    registry.SetValue(kKey, "NotesIniPath", "C:\\notes\\notes.ini");
    EXPECT_EQ(ReadRegistryValue(row.path, row.view, row.name), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegistryLookupTest,
    ::testing::Values(
        LookupRow{"Default", kKeyW, RegistryView::Default, u"NotesIniPath",
                  u"C:\\notes\\notes.ini"},
        LookupRow{"Wow64", kKeyW, RegistryView::Force64, u"NotesIniPath", u"C:\\notes\\notes.ini"},
        LookupRow{"Wow32", kKeyW, RegistryView::Force32, u"NotesIniPath", u"C:\\notes\\notes.ini"},
        LookupRow{"KeyCase", u"SOFTWARE\\vendra systems, inc.\\meetingINTEGRATION",
                  RegistryView::Default, u"NotesIniPath", u"C:\\notes\\notes.ini"},
        LookupRow{"NameCase", kKeyW, RegistryView::Default, u"notesINIpath",
                  u"C:\\notes\\notes.ini"},
        LookupRow{"MissingValue", kKeyW, RegistryView::Default, u"NotesIni", u"<query 2>"},
        LookupRow{"ParentKey", u"Software\\Vendra Systems, Inc.", RegistryView::Default,
                  u"NotesIniPath", u"<query 2>"},
        LookupRow{"MissingKey", u"Software\\Vendra Systems, Inc.\\Meeting", RegistryView::Default,
                  u"NotesIniPath", u"<open 2>"}),
    RowLabel());

TEST(RegistryTest, EmptyRegistryHasNoKeys) {
    platform::testing::ScopedRegistry registry;
    EXPECT_EQ(ReadRegistryValue(kKeyW, RegistryView::Default, u"NotesIniPath"), u"<open 2>");
}

// The library reads into 2048 bytes: 1023 units and the NUL fit, 1024 units do not.
struct SizeRow {
    const char* label;
    std::u16string value;    // stored
    std::u16string expected; // as ReadRegistryValue reports it
    uint32_t needed;         // the size reported, by the read and by a size query
};

class RegistrySizeTest : public ::testing::TestWithParam<SizeRow> {};

TEST_P(RegistrySizeTest, ReadsIntoTwoKilobytes) {
    const SizeRow& row = GetParam();
    platform::testing::ScopedRegistry registry;
    registry.SetValue(kKey, "NotesIniPath", W(row.value));
    uint32_t bytes = 0;
    EXPECT_EQ(ReadRegistryValue(kKeyW, RegistryView::Default, u"NotesIniPath", &bytes),
              row.expected);
    EXPECT_EQ(bytes, row.needed);
    platform::UniqueRegistryKey key;
    platform::RegOpenCurrentUserKey(W(kKeyW).c_str(), RegistryView::Default, key.Put());
    EXPECT_EQ(platform::RegQueryString(key.Get(), W(u"NotesIniPath").c_str(), nullptr, &bytes), 0);
    EXPECT_EQ(bytes, row.needed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegistrySizeTest,
    ::testing::Values(SizeRow{"Fits", std::u16string(1023, u'\u00E9'),
                              std::u16string(1023, u'\u00E9'), 2048},
                      SizeRow{"OneTooMany", std::u16string(1024, u'\u00E9'), u"<query 234>", 2050},
                      SizeRow{"Empty", u"", u"", 2},
                      SizeRow{"NonAscii", u"D:\\Lotus Note\u0301s\\\u65E5\u672C\U0001F600",
                              u"D:\\Lotus Note\u0301s\\\u65E5\u672C\U0001F600", 42}),
    RowLabel());

} // namespace
