// Test rows kept as data: tab-separated files beside the tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace korvo_test {

// The pieces of text between the separators, empty ones included.
std::vector<std::string> Split(const std::string& text, char separator);

// The fields of each row of a tab-separated file whose first line names the fields.
std::vector<std::vector<std::string>> DataRows(const std::filesystem::path& file);

} // namespace korvo_test
