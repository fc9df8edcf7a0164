#pragma once
// A hive file made for a test: written empty, then given keys and values
// through hivex and committed. Every failure throws std::runtime_error.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/hive/empty_hive.h"

struct hive_h;

namespace brisko::testing {

// Registry text as hives store it: UTF-16LE with its terminator (ASCII in).
std::vector<std::uint8_t> hiveText(const std::string& text);

class HiveBuilder {
public:
    explicit HiveBuilder(std::filesystem::path file, std::uint32_t minorVersion = kHiveVersionXp);
    // Goes on with a hive file written before, to change it further.
    struct Existing {};
    HiveBuilder(std::filesystem::path file, Existing);
    ~HiveBuilder();
    HiveBuilder(const HiveBuilder&) = delete;
    HiveBuilder& operator=(const HiveBuilder&) = delete;

    // Paths are below the root ("Microsoft\\Windows"); missing keys on the
    // way are created.
    HiveBuilder& addKey(const std::string& path);
    HiveBuilder& setValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data);
    HiveBuilder& setString(const std::string& keyPath, const std::string& name, const std::string& text);
    // Writes the hive to its file.
    void commit();

private:
    std::size_t keyAt(const std::string& path);

    std::filesystem::path file_;
    hive_h* hive_ = nullptr;
};

}  // namespace brisko::testing
