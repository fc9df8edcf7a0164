// brisko-scan over the volume of 64-bit Windows, where a 32-bit trojan's
// values stand in the 32-bit view (SOFTWARE\Wow6432Node) and its file in
// SysWOW64: both views are cleaned by the same rules, the lines and events
// name the view, and paths are read as a 64-bit program reads them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "tests/brisko_scan/scan_run_fixture.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::Not;
using testing::HiveBuilder;
using testing::readHiveContents;

constexpr const char* kSoftware = "Windows/System32/config/SOFTWARE";
constexpr const char* kRun = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRun32 = "Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServices32 = "Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kVariant32 = "Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kInfected = "C:\\Windows\\SysWOW64\\netsvc32.exe";
constexpr const char* kMachineLine = "System Registry     W32/Krenot.Trojan removed  [Windows\\System32\\config\\SOFTWARE";

class Wow64VolumeRunTest : public testing::ScanRunTest {
protected:
    Wow64VolumeRunTest() {
        write("Windows/SysWOW64/netsvc32.exe", buildSample(signatureTable[0]));
        fs::create_directories((volume_ / kSoftware).parent_path());
        HiveBuilder(volume_ / kSoftware)
            .setString(kRun, "Native", kInfected)
            .setString(kRun, "Tools", "C:\\Program Files\\Tools\\tools.exe")
            .setString(kRun32, "Updater", kInfected)
            .setString(kRunServices32, "Service", "%SystemRoot%\\SysWOW64\\netsvc32.exe -s")
            // A 64-bit program's System32 is the native folder, which does
            // not hold the infected file.
            .setString(kRun32, "Lookalike", "C:\\Windows\\System32\\netsvc32.exe")
            .setString(kRun32, "Helper", "C:\\Program Files (x86)\\Helper\\helper.exe")
            .setString(kVariant32, "UninstallString", "C:\\Windows\\SysWOW64\\rhcjg7j0e38v\\uninstall.exe")
            .setString(kRun32, "SMrhcjg7j0e38v", "C:\\Windows\\SysWOW64\\rhcjg7j0e38v.exe")
            .commit();
    }

    std::vector<std::string> valuesOf(const std::string& key) {
        std::vector<std::string> names;
        const testing::HiveContents contents = readHiveContents(volume_ / kSoftware);
        const auto found = contents.find(key);
        if (found == contents.end()) return names;
        for (const auto& value : found->second) names.push_back(value.first);
        return names;
    }
};

TEST_F(Wow64VolumeRunTest, RemoveCleansBothViewsAndNamesEach) {
    const fs::path report = root_ / "report.json";
    const testing::ScanRun run = scan("--action remove --report " + report.string() + " " + volume_.string());
    ASSERT_EQ(run.exitStatus, 1) << run.errors;

    EXPECT_THAT(valuesOf(kRun), ::testing::ElementsAre("Tools"));
    EXPECT_THAT(valuesOf(kRun32), ::testing::UnorderedElementsAre("Lookalike", "Helper"));
    EXPECT_THAT(valuesOf(kRunServices32), ::testing::IsEmpty());
    EXPECT_THAT(valuesOf(kVariant32), ::testing::IsEmpty());
    EXPECT_FALSE(fs::exists(volume_ / "Windows/SysWOW64/netsvc32.exe"));

    EXPECT_THAT(run.lines, Contains(std::string(kMachineLine) + ", 64-bit view]"));
    EXPECT_THAT(run.lines, Contains(std::string(kMachineLine) + ", 32-bit view]"));
    EXPECT_THAT(run.lines, Not(Contains(std::string(kMachineLine) + "]")));

    std::vector<std::string> objects;
    std::ifstream in(report);
    for (std::string line; std::getline(in, line);) objects.push_back(line);
    EXPECT_THAT(objects, Contains(R"({"event":"registry value","key":"Software\\Microsoft\\Windows\\CurrentVersion\\Run",)"
                                  R"("threat":"W32/Krenot.Trojan","value":"Updater","hive":"Windows\\System32\\config\\SOFTWARE",)"
                                  R"("view":"32-bit"})"));
    EXPECT_THAT(objects, Contains(R"({"event":"registry value","key":"Software\\Microsoft\\Windows\\CurrentVersion\\Run",)"
                                  R"("threat":"W32/Krenot.Trojan","value":"Native","hive":"Windows\\System32\\config\\SOFTWARE",)"
                                  R"("view":"64-bit"})"));
}

TEST_F(Wow64VolumeRunTest, LeaveNamesTheViewAndWritesNothing) {
    const testing::ScanRun run = scan(volume_.string());
    ASSERT_EQ(run.exitStatus, 1) << run.errors;
    EXPECT_THAT(run.lines, Contains(std::string(kMachineLine) + ", 32-bit view, not written: --action leave]"));
    EXPECT_THAT(valuesOf(kRun32), ::testing::Contains("Updater"));
}

}  // namespace
}  // namespace brisko
