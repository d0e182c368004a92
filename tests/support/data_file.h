// A whole file as bytes: the fixture databases, expected outputs and sample inputs of the
// suites.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace korvo_test {

// The bytes of the file; empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace korvo_test
