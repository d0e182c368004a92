// The temporary folder and file contents, each test in a folder of its own.
#include "helpers.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/fs.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

WideString TempPath() {
    WCHAR buf[platform::kMaxPath + 1];
    return WideString(buf, platform::GetTempPathW(platform::kMaxPath + 1, buf));
}

void WriteBytes(const WideString& path, const std::string& bytes, platform::FileAccess access) {
    platform::UniqueFile f(platform::OpenFileW(path.c_str(), access));
    ASSERT_TRUE(f);
    ASSERT_TRUE(platform::WriteFile(f.Get(), bytes.data(), uint32_t(bytes.size())));
}

std::string ReadBytes(const WideString& path) {
    platform::UniqueFile f(platform::OpenFileW(path.c_str(), platform::FileAccess::Read));
    std::string bytes(64, '\0');
    uint32_t done = 0;
    if (!f || !platform::ReadFile(f.Get(), bytes.data(), 64, &done))
        return "<unreadable>";
    return bytes.substr(0, done);
}

// Runs each test in a new empty folder of the temporary folder and requires that nothing is left in
// it at the end.
class FsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string name = "korvo-fs-" + std::to_string(platform::GetCurrentProcessId()) +
                                 "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_dir = TempPath() + WideString(name.begin(), name.end());
        ASSERT_TRUE(platform::CreateDirectoryW(m_dir.c_str()));
        m_dir += WCHAR(platform::PathSeparator());
    }
    void TearDown() override { EXPECT_TRUE(platform::RemoveDirectoryW(m_dir.c_str())); }
    WideString m_dir; // the test's folder, with a trailing separator
};

TEST_F(FsTest, TempPathEndsInSeparatorOrReportsRoomNeeded) {
    const WideString path = TempPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), WCHAR(platform::PathSeparator()));
    std::vector<WCHAR> small(path.size(), WCHAR('#'));
    EXPECT_EQ(platform::GetTempPathW(uint32_t(path.size()), small.data()), path.size() + 1);
    EXPECT_EQ(small, std::vector<WCHAR>(path.size(), WCHAR('#')));
}

TEST_F(FsTest, FileAccessModes) {
    const WideString path = m_dir + W(u"data.bin");
    EXPECT_FALSE(platform::OpenFileW(path.c_str(), platform::FileAccess::ReadWrite));
    WriteBytes(path, std::string("hello\0world", 11), platform::FileAccess::Write);
    WriteBytes(path, "!", platform::FileAccess::Append);
    EXPECT_EQ(
        platform::GetFileSize(
            platform::UniqueFile(platform::OpenFileW(path.c_str(), platform::FileAccess::ReadWrite))
                .Get()),
        12);
    EXPECT_EQ(ReadBytes(path), std::string("hello\0world!", 12));
    WriteBytes(path, "x", platform::FileAccess::Write);
    EXPECT_EQ(ReadBytes(path), "x");
    EXPECT_FALSE(platform::OpenFileW(m_dir.c_str(), platform::FileAccess::Read));
    EXPECT_TRUE(platform::DeleteFileW(path.c_str()));
}

// A search fails with the error Windows gives: no match in a folder, or no such folder.
TEST_F(FsTest, SearchWithoutAnEntryFails) {
    const WideString separator(1, WCHAR(platform::PathSeparator()));
    const std::pair<WideString, uint32_t> rows[] = {{m_dir + W(u"*.none"), 2},
                                                    {m_dir + W(u"gone") + separator + W(u"*"), 3}};
    for (const auto& [pattern, error] : rows) {
        platform::SetLastError(0);
        platform::FindDataW data;
        EXPECT_EQ(platform::FindFirstFileW(pattern.c_str(), &data), nullptr);
        EXPECT_EQ(platform::GetLastError(), error)
            << ::testing::PrintToString(U16(pattern.data(), pattern.size()));
    }
}

TEST_F(FsTest, NarrowPathsAreInTheAnsiCodePage) {
    if (platform::GetACP() != 1252)
        GTEST_SKIP() << "the narrow name below is written in code page 1252";
    WriteBytes(m_dir + W(u"caf\u00E9"), "ok", platform::FileAccess::Write);
    ASSERT_TRUE(platform::SetCurrentDirectoryW(m_dir.c_str()));
    EXPECT_TRUE(platform::DeleteFileA("caf\xE9"));
    EXPECT_FALSE(platform::PathExistsW((m_dir + W(u"caf\u00E9")).c_str()));
    ASSERT_TRUE(platform::SetCurrentDirectoryW(TempPath().c_str()));
}

} // namespace
