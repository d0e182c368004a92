// Test rows kept as data: tab-separated files beside the tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace korvo_test {

// The pieces of text between the separators, empty ones included.
std::vector<std::string> Split(const std::string& text, char separator);

// The fields of each row of a tab-separated file whose first line names the fields.
std::vector<std::vector<std::string>> DataRows(const std::filesystem::path& file);

// The test name of a row: its first field.
std::string FirstField(const testing::TestParamInfo<std::vector<std::string>>& row);

} // namespace korvo_test
