// Registry reads as the library makes them, against values a fixture sets up.
#include "helpers.h"

#include "platform/registry.h"
#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using platform::RegistryView;

const char kKey[] = "Software\\Vendra Systems, Inc.\\MeetingIntegration";
constexpr char16_t kKeyW[] = u"Software\\Vendra Systems, Inc.\\MeetingIntegration";
const std::u16string kIni = u"C:\\notes\\notes.ini";

TEST(RegistryTest, OpensAndReads) {
    struct Row {
        const char16_t* path;    // the key opened
        RegistryView view;       // the view it is opened in
        const char16_t* name;    // the value read
        std::u16string expected; // as ReadRegistryValue reports it
    };
    const Row rows[] = {
        {kKeyW, RegistryView::Default, u"NotesIniPath", kIni},
        {kKeyW, RegistryView::Default, u"NotesIni", u"<query 2>"},
        {u"Software\\Vendra Systems, Inc.", RegistryView::Default, u"NotesIniPath", u"<query 2>"},
        {u"Software\\Vendra Systems, Inc.\\Meeting", RegistryView::Default, u"NotesIniPath",
         u"<open 2>"},
    };
    platform::testing::ScopedRegistry registry;
    EXPECT_EQ(ReadRegistryValue(kKeyW, RegistryView::Default, u"NotesIniPath"), u"<open 2>");
    registry.SetValue(kKey, "NotesIniPath", "C:\\notes\\notes.ini");
    for (const Row& row : rows)
        EXPECT_EQ(ReadRegistryValue(row.path, row.view, row.name), row.expected)
            << testing::PrintToString(std::u16string(row.path)) << " " << static_cast<int>(row.view)
            << " " << testing::PrintToString(std::u16string(row.name));
}

// The library reads into 2048 bytes: 1023 units and the NUL fit, 1024 units do not. The size
// reported is the same for the read and for a size query.
TEST(RegistryTest, ReadsIntoTwoKilobytes) {
    const std::u16string nonAscii = u"D:\\Lotus Note\u0301s\\\u65E5\u672C\U0001F600";
    const std::u16string fits(1023, u'\u00E9');
    const std::tuple<std::u16string, std::u16string, uint32_t> rows[] = {
        {fits, fits, 2048},
        {std::u16string(1024, u'\u00E9'), u"<query 234>", 2050},
        {u"", u"", 2},
        {nonAscii, nonAscii, 42},
    };
    for (const auto& [value, expected, needed] : rows) {
        SCOPED_TRACE(value.size());
        platform::testing::ScopedRegistry registry;
        registry.SetValue(kKey, "NotesIniPath", W(value));
        uint32_t bytes = 0;
        EXPECT_EQ(ReadRegistryValue(kKeyW, RegistryView::Default, u"NotesIniPath", &bytes),
                  expected);
        EXPECT_EQ(bytes, needed);
        platform::UniqueRegistryKey key;
        platform::RegOpenCurrentUserKey(W(kKeyW).c_str(), RegistryView::Default, key.Put());
        EXPECT_EQ(platform::RegQueryString(key.Get(), W(u"NotesIniPath").c_str(), nullptr, &bytes),
                  0);
        EXPECT_EQ(bytes, needed);
    }
}

} // namespace
