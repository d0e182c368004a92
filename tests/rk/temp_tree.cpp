#include "temp_tree.h"

#include "rk/fs.h"

#include <vector>

WText W(const std::string& ascii) {
    return WText(ascii.begin(), ascii.end());
}

std::string Narrow(const WText& text) {
    return std::string(text.begin(), text.end());
}

WText CurrentDirectory() {
    WCHAR path[platform::kMaxPath] = {};
    platform::GetCurrentDirectoryW(platform::kMaxPath, path);
    return path;
}

bool RemoveTree(const WText& path) {
    std::vector<platform::DirectoryEntry> entries;
    if (platform::ListDirectoryW(path.c_str(), &entries)) {
        for (const auto& entry : entries) {
            const WText child = path + WCHAR(platform::PathSeparator()) + entry.name;
            if (entry.isDirectory)
                RemoveTree(child);
            else
                platform::DeleteFileW(child.c_str());
        }
        platform::RemoveDirectoryW(path.c_str());
    }
    return !platform::PathExistsW(path.c_str());
}

void TempTree::SetUp() {
    m_startDirectory = CurrentDirectory();
    WCHAR name[platform::kMaxPath];
    ASSERT_GT(rk_fs_tmpfile(name, nullptr, W("rkt").c_str(), 0), 0);
    m_root = name;
    ASSERT_TRUE(platform::CreateDirectoryW(m_root.c_str()));
}

void TempTree::TearDown() {
    EXPECT_EQ(Narrow(CurrentDirectory()), Narrow(m_startDirectory));
    platform::SetCurrentDirectoryW(m_startDirectory.c_str());
    EXPECT_TRUE(RemoveTree(m_root)) << Narrow(m_root);
}

WText TempTree::Path(const std::string& name) const {
    WText path = m_root;
    path += WCHAR(platform::PathSeparator());
    for (char c : name)
        path += c == '/' ? WCHAR(platform::PathSeparator()) : WCHAR(c);
    return path;
}

void TempTree::MakeDirectory(const std::string& name) const {
    ASSERT_TRUE(platform::CreateDirectoryW(Path(name).c_str())) << name;
}

void TempTree::MakeFile(const std::string& name, const std::string& content) const {
    const platform::UniqueFile file(
        platform::OpenFileW(Path(name).c_str(), platform::FileAccess::Write));
    ASSERT_TRUE(file) << name;
    ASSERT_TRUE(
        platform::WriteFile(file.Get(), content.data(), static_cast<uint32_t>(content.size())));
}
