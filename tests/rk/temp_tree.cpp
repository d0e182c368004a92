#include "temp_tree.h"

#include "rk/fs.h"

#include "platform/fs.h"

#include <filesystem>
#include <fstream>

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

void TempTree::SetUp() {
    m_startDirectory = CurrentDirectory();
    WCHAR name[platform::kMaxPath];
    ASSERT_GT(rk_fs_tmpfile(name, nullptr, W("rkt").c_str(), 0), 0);
    m_root = name;
    ASSERT_TRUE(std::filesystem::create_directory(m_root));
}

void TempTree::TearDown() {
    EXPECT_EQ(Narrow(CurrentDirectory()), Narrow(m_startDirectory));
    platform::SetCurrentDirectoryW(m_startDirectory.c_str());
    std::error_code error;
    std::filesystem::remove_all(m_root, error);
    EXPECT_FALSE(error) << Narrow(m_root) << ": " << error.message();
}

WText TempTree::Path(const std::string& name) const {
    WText path = m_root;
    path += WCHAR(platform::PathSeparator());
    for (char c : name)
        path += c == '/' ? WCHAR(platform::PathSeparator()) : WCHAR(c);
    return path;
}

void TempTree::MakeDirectory(const std::string& name) const {
    ASSERT_TRUE(std::filesystem::create_directory(Path(name))) << name;
}

void TempTree::MakeFile(const std::string& name, const std::string& content) const {
    std::ofstream file(std::filesystem::path(Path(name)), std::ios::binary);
    ASSERT_TRUE(file << content) << name;
}
