// The POSIX registry store: file format, views, damaged files, and where the file lives.
#include "helpers.h"

#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {

using platform::RegistryView;

constexpr char16_t kKey[] = u"Software\\Korvo\\Test";
const std::string kSection = "[HKEY_CURRENT_USER\\Software\\Korvo\\Test]";

TEST(RegistryStoreTest, Reads) {
    struct Row {
        std::string store;       // the file's text
        RegistryView view;       // the view kKey is opened in
        const char16_t* name;    // the value read
        std::u16string expected; // as ReadRegistryValue reports it
    };
    const Row rows[] = {
        {kSection + " (64)\nA=x\n", RegistryView::Default, u"A", u"<open 2>"},
        {kSection + " (64)\nA=x\n", RegistryView::Force64, u"A", u"x"},
        {kSection + " (32)\nA=x\n", RegistryView::Force64, u"A", u"<open 2>"},
        {kSection + "  (32) \nA=x\n", RegistryView::Force32, u"A", u"x"},
        {kSection + "\nA=all\n" + kSection + " (64)\nA=64\n", RegistryView::Force64, u"A", u"64"},
        {"\xEF\xBB\xBF" + kSection + "\r\nA=x\r\n", RegistryView::Default, u"A", u"x"},
        {kSection + "\n  A\t= b=c ", RegistryView::Default, u"A", u" b=c "},
        {kSection + "\nA=1\na=2\n", RegistryView::Default, u"A", u"2"},
        {kSection + "\n=dflt\n", RegistryView::Default, u"", u"dflt"},
        {kSection + "\nA=\xC3\xA9\xFF\n", RegistryView::Default, u"A", u"\u00E9\uFFFD"},
        {"A=x\n" + kSection + "\nB=y\n", RegistryView::Default, u"A", u"<query 2>"},
        {kSection + "\njunk\n\x01\xFF\n;A=no\n# A=no\nA=x\n;A=no", RegistryView::Default, u"A",
         u"x"},
        {kSection + "\nA=x\n[HKEY_CURRENT_USER\\Software\\Korvo\\Test\nA=no", RegistryView::Default,
         u"A", u"x"},
        {"[HKEY_LOCAL_MACHINE\\Software\\Korvo\\Test]\nA=x\n", RegistryView::Default, u"A",
         u"<open 2>"},
        {std::string("\0\0[\xFF\n=\n[]\n", 10) + kSection + "\nA\0=\0\n", RegistryView::Default,
         u"A", u"<query 2>"},
    };
    platform::testing::ScopedRegistry registry;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.store));
        registry.WriteRawStoreForTesting(row.store);
        EXPECT_EQ(ReadRegistryValue(kKey, row.view, row.name), row.expected);
    }
    // A section with an unknown view suffix is skipped whole: its values reach no key, not even
    // the root.
    registry.WriteRawStoreForTesting(kSection + "\nB=1\n" + kSection + " (16)\nA=no\n");
    EXPECT_EQ(ReadRegistryValue(u"", RegistryView::Default, u"A"), u"<query 2>");
}

TEST(RegistryStoreFileTest, IsReadWhenAKeyOpens) {
    platform::testing::ScopedRegistry registry;
    EXPECT_EQ(ReadRegistryValue(kKey, RegistryView::Default, u"A"), u"<open 2>");
    registry.SetValue("Software\\Korvo\\Test", "A", "first");
    platform::UniqueRegistryKey key;
    ASSERT_EQ(platform::RegOpenCurrentUserKey(W(kKey).c_str(), RegistryView::Default, key.Put()),
              0);
    registry.SetValue("Software\\Korvo\\Test", "A", "second");
    EXPECT_EQ(ReadRegistryValue(kKey, RegistryView::Default, u"A"), u"second");
    uint32_t bytes = 0;
    EXPECT_EQ(platform::RegQueryString(key.Get(), W(u"A").c_str(), nullptr, &bytes), 0);
    EXPECT_EQ(bytes, sizeof(u"first"));
}

// The store is $KORVO_REGISTRY, else under $XDG_CONFIG_HOME, else under $HOME; an empty
// variable counts as unset. Each row names the folders the variables point into.
TEST(RegistryStoreFileTest, IsFoundThroughTheEnvironment) {
    struct Row {
        const char* explicitStore; // $KORVO_REGISTRY below the test's folder ("" empty)
        const char* configHome;    // $XDG_CONFIG_HOME, likewise
        std::u16string expected;   // the value of A found
    };
    const Row rows[] = {{"explicit.ini", "xdg", u"expl"},
                        {"", "xdg", u"xdg/"},
                        {"", "", u"home"},
                        {"none.ini", "xdg", u"<open 2>"}};
    char dir[] = "/tmp/korvo-home-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::filesystem::path root = dir;
    for (const char* place :
         {"explicit.ini", "xdg/korvolotus/registry.ini", "home/.config/korvolotus/registry.ini"}) {
        std::filesystem::create_directories((root / place).parent_path());
        std::ofstream(root / place) << kSection << "\nA=" << std::string(place, 4) << "\n";
    }
    const auto under = [&](const char* p) { return *p ? (root / p).string() : std::string(); };
    for (const Row& row : rows) {
        ScopedEnv explicitStore("KORVO_REGISTRY", under(row.explicitStore).c_str());
        ScopedEnv configHome("XDG_CONFIG_HOME", under(row.configHome).c_str());
        ScopedEnv home("HOME", (root / "home").c_str());
        EXPECT_EQ(ReadRegistryValue(kKey, RegistryView::Default, u"A"), row.expected)
            << row.explicitStore << " / " << row.configHome;
    }
    std::filesystem::remove_all(root);
}

} // namespace
