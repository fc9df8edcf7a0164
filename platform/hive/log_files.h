#pragma once
// A hive file and the transaction logs beside it, read whole: NAME.LOG,
// NAME.LOG1 and NAME.LOG2, their names matched case-blind as Windows
// matches them, never through a symbolic link, never larger than 1 GiB.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brisko::hive {

struct LogFile {
    std::filesystem::path path;
    std::vector<std::uint8_t> bytes;
};

// The whole of the regular file name in directory (a descriptor, or
// AT_FDCWD); false, with why, when it is a link, not a regular file, too
// large, or cannot be read whole.
bool readWholeFile(int directory, const char* name, std::vector<std::uint8_t>& bytes, std::string& why);

// The logs there are, in that order; false, with why, when one cannot be
// told apart from another or read.
bool readLogsBeside(const std::filesystem::path& hive, std::vector<LogFile>& logs, std::string& why);

}  // namespace brisko::hive
