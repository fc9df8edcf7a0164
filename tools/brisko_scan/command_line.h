#pragma once
// The command line of brisko-scan:
// [--action remove|rename|leave] [--report FILE] FOLDER.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brisko {

struct ScanRequest {
    std::int32_t userAction;
    std::string folder;
    // Where the JSON report goes; empty: no report.
    std::string reportFile;
};

// The request, or nothing when the arguments are not a valid command line.
// Without --action the infected files are left where they are.
std::optional<ScanRequest> parseCommandLine(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace brisko
