// What the POSIX substitutes take from the environment: the ANSI code page, message-box
// answers, the temporary directory, and the host's exported symbols.
#include "row_label.h"
#include "scoped_env.h"
#include "wide_text.h"

#include "platform/codepage.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <vector>

extern "C" __attribute__((visibility("default"))) void KorvoPlatformTestExport() {}

namespace {

struct AnsiRow {
    const char* label;
    const char* acp;        // $KORVO_ACP; null: unset
    unsigned codePage;      // GetACP
    std::u16string widened; // byte 0x80 through the ANSI code page
    std::string narrowed;   // U+00E9 through the ANSI code page
};

class AnsiCodePageTest : public ::testing::TestWithParam<AnsiRow> {};

TEST_P(AnsiCodePageTest, FollowsKorvoAcp) {
    const AnsiRow& row = GetParam();
    ScopedEnv acp("KORVO_ACP", row.acp);
    EXPECT_EQ(platform::GetACP(), row.codePage);
    WCHAR wide[4] = {};
    const int units = platform::MultiByteToWideChar(platform::kCodePageAnsi, 0, "\x80", 1, wide, 4);
    EXPECT_EQ(U16(wide, static_cast<size_t>(units)), row.widened);
    char narrow[4] = {};
    const WCHAR e = 0xE9;
    const int bytes = platform::WideCharToMultiByte(platform::kCodePageAnsi, 0, &e, 1, narrow, 4);
    EXPECT_EQ(std::string(narrow, static_cast<size_t>(bytes)), row.narrowed);
}

INSTANTIATE_TEST_SUITE_P(Rows, AnsiCodePageTest,
                         ::testing::Values(AnsiRow{"Unset", nullptr, 1252, u"\u20AC", "\xE9"},
                                           AnsiRow{"Utf8", "65001", 65001, u"\uFFFD", "\xC3\xA9"},
                                           AnsiRow{"Dos", "850", 850, u"\u00C7", "\x82"},
                                           AnsiRow{"Cyrillic", "1251", 1251, u"\u0402", "?"},
                                           AnsiRow{"NotANumber", "utf-8", 1252, u"\u20AC", "\xE9"},
                                           AnsiRow{"Unsupported", "12345", 1252, u"\u20AC", "\xE9"},
                                           AnsiRow{"TooLarge", "165001", 1252, u"\u20AC", "\xE9"}),
                         RowLabel());

// Each step sets $KORVO_MESSAGEBOX (null: removes it) and shows one box; the answers are
// taken in order, and a changed list starts again from its beginning.
TEST(MessageBoxAnswersTest, ConsumesTheListOnePerBox) {
    const int R = platform::kIdRetry;
    const int C = platform::kIdCancel;
    const std::vector<std::pair<const char*, int>> steps = {{"retry, RETRY ,cancel,retry", R},
                                                            {"retry, RETRY ,cancel,retry", R},
                                                            {"retry, RETRY ,cancel,retry", C},
                                                            {"retry, RETRY ,cancel,retry", R},
                                                            {"retry, RETRY ,cancel,retry", C},
                                                            {"retry", R},
                                                            {"retry", C},
                                                            {"", C},
                                                            {nullptr, C},
                                                            {"bogus,retry", C},
                                                            {"bogus,retry", R}};
    ScopedEnv restore("KORVO_MESSAGEBOX", nullptr);
    for (const auto& [list, answer] : steps) {
        platform::SetEnv("KORVO_MESSAGEBOX", list);
        EXPECT_EQ(platform::MessageBoxW(W(u"text").c_str(), W(u"caption").c_str(), 0), answer)
            << (list ? list : "(unset)");
    }
}

struct TempDirRow {
    const char* label;
    const char* tmpdir;   // $TMPDIR; null: unset
    std::string expected; // GetTempPathA
};

class TempPathTest : public ::testing::TestWithParam<TempDirRow> {};

TEST_P(TempPathTest, FollowsTmpdir) {
    ScopedEnv tmpdir("TMPDIR", GetParam().tmpdir);
    char buf[platform::kMaxPath] = {};
    EXPECT_EQ(platform::GetTempPathA(platform::kMaxPath, buf), GetParam().expected.size());
    EXPECT_EQ(std::string(buf), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, TempPathTest,
                         ::testing::Values(TempDirRow{"Unset", nullptr, "/tmp/"},
                                           TempDirRow{"NoSlash", "/var/x", "/var/x/"},
                                           TempDirRow{"Slash", "/var/x/", "/var/x/"}),
                         RowLabel());

TEST(ProcessTest, FindsExportedHostSymbols) {
    EXPECT_EQ(platform::FindHostSymbol("KorvoPlatformTestExport"),
              reinterpret_cast<void*>(&KorvoPlatformTestExport));
    EXPECT_EQ(platform::FindHostSymbol("KorvoPlatformNoSuchExport"), nullptr);
}

} // namespace
