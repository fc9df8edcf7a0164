#pragma once
// Reading and writing whole host files, for the hive tests that compare a
// hive's bytes before and after.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace brisko::testing {

inline std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace brisko::testing
