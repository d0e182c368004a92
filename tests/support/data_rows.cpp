#include "data_rows.h"

#include <gtest/gtest.h>

#include <fstream>

namespace korvo_test {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts{""};
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

std::vector<std::vector<std::string>> DataRows(const std::filesystem::path& file) {
    std::ifstream stream(file);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(stream, line);) {
        rows.push_back(Split(line, '\t'));
        EXPECT_EQ(rows.back().size(), rows[0].size()) << line;
    }
    EXPECT_FALSE(rows.empty()) << file;
    if (!rows.empty())
        rows.erase(rows.begin());
    return rows;
}

std::string FirstField(const testing::TestParamInfo<std::vector<std::string>>& row) {
    return row.param.at(0);
}

} // namespace korvo_test
