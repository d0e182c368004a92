#include "toolkit_support.h"

#include "data_rows.h"

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

unsigned Unsigned(const std::string& field) {
    return static_cast<unsigned>(std::stoul(field));
}

WText Wide(const std::string& utf8) {
    WText units;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int more = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : 2;
        unsigned unit = more == 0 ? lead : lead & (more == 1 ? 0x1F : 0x0F);
        for (int k = 0; k < more; ++k)
            unit = unit << 6 | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        units += static_cast<WCHAR>(unit);
    }
    return units;
}

std::vector<Fields> Rows(const std::string& name) {
    const std::string escapes = "0trn\\";
    const std::string meanings("\0\t\r\n\\", 5);
    std::vector<Fields> rows = korvo_test::DataRows(std::filesystem::path(RK_TEST_DATA) / name);
    for (Fields& row : rows) {
        for (std::string& field : row) {
            std::string text;
            for (size_t i = 0; i < field.size(); ++i) {
                if (field[i] != '\\') {
                    text += field[i];
                } else if (field[++i] == 'x') {
                    text += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                } else {
                    text += meanings.at(escapes.find(field[i]));
                }
            }
            field = text;
        }
    }
    return rows;
}

namespace {

WText CurrentDirectory() {
    WCHAR path[platform::kMaxPath] = {};
    platform::GetCurrentDirectoryW(platform::kMaxPath, path);
    return path;
}

} // namespace

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
