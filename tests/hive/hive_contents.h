#pragma once
// What a hive file holds, read with hivex: every key by its path below the
// root ("" for the root, names as stored, joined by backslashes) with its
// values by name, to compare hives before and after.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace brisko::testing {

struct HiveValue {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    bool operator==(const HiveValue& other) const { return type == other.type && data == other.data; }
};

using HiveKeyValues = std::map<std::string, HiveValue>;
using HiveContents = std::map<std::string, HiveKeyValues>;

// Throws std::runtime_error when hivex cannot open the file.
HiveContents readHiveContents(const std::filesystem::path& file);

}  // namespace brisko::testing
