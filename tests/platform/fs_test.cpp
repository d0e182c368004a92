// Temporary files, file contents and directory listings, each test in a folder of its own.
#include "helpers.h"

#include "platform/codepage.h"
#include "platform/fs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
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

// Runs each test in a new empty folder and requires that nothing is left in it at the end.
class FsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WCHAR name[platform::kMaxPath];
        ASSERT_NE(platform::GetTempFileNameW(TempPath().c_str(), W(u"fst").c_str(), name), 0u);
        ASSERT_TRUE(platform::DeleteFileW(name) && platform::CreateDirectoryW(name));
        m_dir = WideString(name) + WCHAR(platform::PathSeparator());
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

TEST_F(FsTest, TempFilesAreUniqueAndCreatedEmpty) {
    std::set<WideString> names;
    for (int i = 0; i < 50; ++i) {
        WCHAR name[platform::kMaxPath];
        ASSERT_NE(platform::GetTempFileNameW(m_dir.c_str(), W(u"korvo").c_str(), name), 0u);
        const WideString file = WideString(name).substr(m_dir.size());
        EXPECT_EQ(file.substr(0, 3), W(u"kor"));
        EXPECT_EQ(file.substr(file.size() - 4), W(u".tmp"));
        EXPECT_EQ(ReadBytes(name), "");
        EXPECT_TRUE(names.insert(name).second);
    }
    for (const WideString& path : names)
        EXPECT_TRUE(platform::DeleteFileW(path.c_str()));
}

TEST_F(FsTest, FileAccessModes) {
    const WideString path = m_dir + W(u"data.bin");
    EXPECT_FALSE(platform::OpenFileW(path.c_str(), platform::FileAccess::ReadWrite));
    WriteBytes(path, std::string("hello\0world", 11), platform::FileAccess::Write);
    WriteBytes(path, "!", platform::FileAccess::Append);
    {
        platform::UniqueFile f(platform::OpenFileW(path.c_str(), platform::FileAccess::ReadWrite));
        EXPECT_EQ(platform::GetFileSize(f.Get()), 12);
        ASSERT_TRUE(platform::SeekFile(f.Get(), 6) && platform::WriteFile(f.Get(), "W", 1));
    }
    EXPECT_EQ(ReadBytes(path), std::string("hello\0World!", 12));
    WriteBytes(path, "x", platform::FileAccess::Write);
    EXPECT_EQ(ReadBytes(path), "x");
    EXPECT_FALSE(platform::OpenFileW(m_dir.c_str(), platform::FileAccess::Read));
    EXPECT_TRUE(platform::DeleteFileW(path.c_str()));
}

TEST_F(FsTest, ListsEntriesWithKindAndSize) {
    const WideString sub = m_dir + W(u"sub");
    ASSERT_TRUE(platform::CreateDirectoryW(sub.c_str()));
    EXPECT_FALSE(platform::CreateDirectoryW(sub.c_str()));
    WriteBytes(m_dir + W(u"b.txt"), "12345", platform::FileAccess::Write);
    WriteBytes(m_dir + W(u"a\u00E9\u65E5.txt"), "", platform::FileAccess::Write);
    EXPECT_FALSE(platform::RemoveDirectoryW(m_dir.c_str()));
    std::vector<platform::DirectoryEntry> entries;
    ASSERT_TRUE(platform::ListDirectoryW(m_dir.c_str(), &entries));
    std::vector<std::tuple<std::u16string, bool, uint64_t>> seen;
    for (const platform::DirectoryEntry& e : entries) {
        seen.emplace_back(U16(e.name.data(), e.name.size()), e.isDirectory, e.size);
        const WideString path = m_dir + e.name;
        EXPECT_TRUE(e.isDirectory ? platform::RemoveDirectoryW(path.c_str())
                                  : platform::DeleteFileW(path.c_str()));
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen,
              (decltype(seen){
                  {u"a\u00E9\u65E5.txt", false, 0}, {u"b.txt", false, 5}, {u"sub", true, 0}}));
    EXPECT_FALSE(platform::ListDirectoryW(sub.c_str(), &entries));
}

TEST_F(FsTest, NarrowPathsAreInTheAnsiCodePage) {
    if (platform::GetACP() != 1252)
        GTEST_SKIP() << "the narrow name below is written in code page 1252";
    WriteBytes(m_dir + W(u"caf\u00E9"), "ok", platform::FileAccess::Write);
    ASSERT_TRUE(platform::SetCurrentDirectoryW(m_dir.c_str()));
    EXPECT_TRUE(platform::PathExistsA("caf\xE9"));
    EXPECT_TRUE(platform::DeleteFileA("caf\xE9"));
    EXPECT_FALSE(platform::PathExistsW((m_dir + W(u"caf\u00E9")).c_str()));
    ASSERT_TRUE(platform::SetCurrentDirectoryW(TempPath().c_str()));
}

} // namespace
