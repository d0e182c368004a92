// What the POSIX substitutes take from the environment: the ANSI code page, message-box
// answers, the temporary directory, and the host's exported symbols.
#include "helpers.h"

#include "platform/codepage.h"
#include "platform/dialog.h"
#include "platform/fs.h"
#include "platform/process.h"

#include <gtest/gtest.h>

extern "C" __attribute__((visibility("default"))) void KorvoPlatformTestExport() {}

namespace {

TEST(EnvironmentTest, AnsiCodePageFollowsKorvoAcp) {
    struct Row {
        const char* acp;        // $KORVO_ACP; null: unset
        unsigned codePage;      // GetACP
        std::u16string widened; // byte 0x80 through the ANSI code page
        std::string narrowed;   // U+00E9 through the ANSI code page
    };
    const Row rows[] = {
        {nullptr, 1252, u"\u20AC", "\xE9"},  {"65001", 65001, u"\uFFFD", "\xC3\xA9"},
        {"850", 850, u"\u00C7", "\x82"},     {"1251", 1251, u"\u0402", "?"},
        {"utf-8", 1252, u"\u20AC", "\xE9"},  {"12345", 1252, u"\u20AC", "\xE9"},
        {"165001", 1252, u"\u20AC", "\xE9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.acp ? row.acp : "(unset)");
        ScopedEnv acp("KORVO_ACP", row.acp);
        EXPECT_EQ(platform::GetACP(), row.codePage);
        WCHAR wide[4] = {};
        const int units =
            platform::MultiByteToWideChar(platform::kCodePageAnsi, 0, "\x80", 1, wide, 4);
        EXPECT_EQ(U16(wide, static_cast<size_t>(units)), row.widened);
        char narrow[4] = {};
        const WCHAR e = 0xE9;
        const int bytes =
            platform::WideCharToMultiByte(platform::kCodePageAnsi, 0, &e, 1, narrow, 4);
        EXPECT_EQ(std::string(narrow, static_cast<size_t>(bytes)), row.narrowed);
    }
}

// Each step sets $KORVO_MESSAGEBOX (null: removes it) and shows one box for each letter of
// its answers (R retry, C cancel); the answers are taken in order, and a changed list starts
// again from its beginning.
TEST(EnvironmentTest, MessageBoxAnswersConsumeTheListOnePerBox) {
    const std::pair<const char*, const char*> steps[] = {
        {"retry, RETRY ,cancel,retry", "RRCRC"},
        {"retry", "RC"},
        {"", "C"},
        {nullptr, "C"},
        {"bogus,retry", "CR"},
    };
    ScopedEnv restore("KORVO_MESSAGEBOX", nullptr);
    for (const auto& [list, answers] : steps) {
        platform::SetEnv("KORVO_MESSAGEBOX", list);
        for (const char* answer = answers; *answer != '\0'; ++answer)
            EXPECT_EQ(platform::MessageBoxW(W(u"text").c_str(), W(u"caption").c_str(), 0),
                      *answer == 'R' ? platform::kIdRetry : platform::kIdCancel)
                << (list ? list : "(unset)") << " at " << answer - answers;
    }
}

TEST(EnvironmentTest, TempPathFollowsTmpdir) {
    const std::pair<const char*, std::string> rows[] = {
        {nullptr, "/tmp/"}, {"/var/x", "/var/x/"}, {"/var/x/", "/var/x/"}};
    for (const auto& [tmpdir, expected] : rows) {
        ScopedEnv variable("TMPDIR", tmpdir);
        char buf[platform::kMaxPath] = {};
        EXPECT_EQ(platform::GetTempPathA(platform::kMaxPath, buf), expected.size());
        EXPECT_EQ(std::string(buf), expected);
    }
}

TEST(EnvironmentTest, FindsExportedHostSymbols) {
    EXPECT_EQ(platform::FindHostSymbol("KorvoPlatformTestExport"),
              reinterpret_cast<void*>(&KorvoPlatformTestExport));
    EXPECT_EQ(platform::FindHostSymbol("KorvoPlatformNoSuchExport"), nullptr);
}

} // namespace
