// The expected outputs and sample inputs kept under tests/calendar/data.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace korvo_test {

// The bytes of data/relativePath; empty when the file cannot be read.
inline std::string ReadDataFile(const std::string& relativePath) {
    std::ifstream file(std::string(KORVO_CALENDAR_DATA) + "/" + relativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace korvo_test
