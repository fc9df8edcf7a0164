#pragma once
// A fresh host folder for one test's hive files, removed with everything in
// it when the test ends.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace brisko::testing {

class HiveFolder {
public:
    HiveFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brisko-hive-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a hive folder");
        path_ = pattern;
    }
    ~HiveFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    HiveFolder(const HiveFolder&) = delete;
    HiveFolder& operator=(const HiveFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace brisko::testing
