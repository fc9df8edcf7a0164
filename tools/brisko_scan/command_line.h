#pragma once
// The command line of brisko-scan, shared by the Linux program that scans
// a mounted Windows volume and brisko-scan.exe that scans the Windows it
// runs on:
// [--action remove|rename|leave] [--restart never|force] [--log FILE]
// [--report FILE] [FOLDER].
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/brisko_scan/question_policy.h"

namespace brisko {

// What the program scans, which decides the options that make sense.
enum class ScanHost {
    // A Windows volume mounted on Linux: FOLDER is the volume, and nothing
    // there can be restarted.
    kMountedVolume,
    // The running Windows: without FOLDER, the whole system.
    kRunningWindows,
};

struct ScanRequest {
    std::int32_t userAction = 0;
    // Empty: the whole running system.
    std::string folder;
    RestartChoice restart = RestartChoice::kNever;
    // Where the report lines are appended; empty: nowhere but stdout.
    std::string logFile;
    // Where the JSON report goes; empty: no report.
    std::string reportFile;
};

// The request, or nothing when the arguments are not a valid command line
// on this host; then refusal says why when a plain usage message would not.
// Without --action the infected files are left where they are.
std::optional<ScanRequest> parseCommandLine(const std::vector<std::string>& arguments, ScanHost host,
                                            std::string& refusal);

const char* usageOf(ScanHost host);

}  // namespace brisko
