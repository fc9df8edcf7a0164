#pragma once
// An empty registry hive, written from the public description of the regf
// format: hivex can change a hive but not create one. The file is a base
// block and one bin holding the root key and its security descriptor.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brisko::testing {

// The format's minor versions: 3 as Windows NT 4 writes, 5 as Windows XP
// and later write.
constexpr std::uint32_t kHiveVersionNt4 = 3;
constexpr std::uint32_t kHiveVersionXp = 5;

// The bytes of a hive holding only its root key, named rootName (ASCII).
std::vector<std::uint8_t> emptyHiveBytes(const std::string& rootName, std::uint32_t minorVersion);

// Writes those bytes to file; throws std::runtime_error when it cannot.
void writeEmptyHive(const std::filesystem::path& file, const std::string& rootName, std::uint32_t minorVersion);

}  // namespace brisko::testing
