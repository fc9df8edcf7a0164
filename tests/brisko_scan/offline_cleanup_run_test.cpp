// brisko-scan over a volume holding a Windows installation: the hosts file
// and the autostart values of the machine's and the users' hives are
// cleaned with the files, backed up first, and written only when the action
// changes anything.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cleanup/hosts_pattern.h"
#include "tests/support/hosts_texts.h"
#include "matcher/threat_signature.h"
#include "platform/registry.h"
#include "tests/brisko_scan/scan_run_fixture.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using testing::HiveBuilder;
using testing::infectedHostsText;
using testing::readHiveContents;

constexpr const char* kRunKey = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUserRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSoftware = "Windows/System32/config/SOFTWARE";
constexpr const char* kSystem = "Windows/System32/config/SYSTEM";
constexpr const char* kEvilService = "ControlSet001\\Services\\EvilSvc";
constexpr const char* kUserHive = "Users/alice/NTUSER.DAT";
constexpr const char* kHosts = "Windows/System32/drivers/etc/hosts";

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class OfflineCleanupRunTest : public testing::ScanRunTest {
protected:
    // An NT installation with an infected program that a Run value of the
    // machine, one of a user and a service start, and an infected hosts
    // file.
    OfflineCleanupRunTest() {
        write("Windows/System32/evil.exe", buildSample(signatureTable[0]));
        fs::create_directories((volume_ / kSoftware).parent_path());
        HiveBuilder(volume_ / kSoftware)
            .setString(kRunKey, "Updater", "C:\\Windows\\System32\\evil.exe /silent")
            .setString(kRunKey, "Other", "C:\\Program Files\\Tools\\ok.exe")
            .commit();
        HiveBuilder(volume_ / kSystem)
            .setString(kEvilService, "ImagePath", "\\SystemRoot\\System32\\evil.exe")
            .setString(std::string(kEvilService) + "\\Parameters", "Mode", "1")
            .setString("ControlSet001\\Services\\Spooler", "ImagePath", "%SystemRoot%\\System32\\spoolsv.exe")
            .commit();
        fs::create_directories((volume_ / kUserHive).parent_path());
        HiveBuilder(volume_ / kUserHive).setString(kUserRunKey, "Helper", "C:\\Windows\\System32\\evil.exe").commit();
        write(kHosts, infectedHosts_);
    }

    bool hasRunValue(const fs::path& hive, const std::string& key, const std::string& name) {
        const auto values = readHiveContents(hive);
        const auto found = values.find(key);
        return found != values.end() && found->second.count(name) != 0;
    }

    const std::string infectedHosts_ = infectedHostsText();
};

TEST_F(OfflineCleanupRunTest, RemoveCleansFilesValuesAndHostsAndKeepsBackups) {
    const std::string softwareBefore = contentOf(volume_ / kSoftware);
    const testing::ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    EXPECT_THAT(run.lines, Contains("System Registry     W32/Krenot.Trojan removed  [Windows\\System32\\config\\SOFTWARE]"));
    EXPECT_THAT(run.lines, Contains("System Registry     W32/Krenot.Trojan removed  [Users\\alice\\NTUSER.DAT]"));
    EXPECT_THAT(run.lines, Contains("C:\\Windows\\System32\\drivers\\etc\\hosts     W32/Pelto.Worm removed"));
    EXPECT_THAT(run.lines, Contains("System Registry     W32/Krenot.Ek.PSW.Trojan removed  "
                                    "[Windows\\System32\\config\\SYSTEM, service EvilSvc]"));
    EXPECT_THAT(run.lines, Contains("C:\\Windows\\System32\\evil.exe     W32/Krenot.Ek.PSW.Trojan removed"));

    EXPECT_FALSE(fs::exists(volume_ / "Windows/System32/evil.exe"));
    EXPECT_FALSE(hasRunValue(volume_ / kSoftware, kRunKey, "Updater"));
    EXPECT_TRUE(hasRunValue(volume_ / kSoftware, kRunKey, "Other"));
    EXPECT_FALSE(hasRunValue(volume_ / kUserHive, kUserRunKey, "Helper"));
    const testing::HiveContents system = readHiveContents(volume_ / kSystem);
    EXPECT_EQ(system.count(kEvilService), 0u);
    EXPECT_EQ(system.count(std::string(kEvilService) + "\\Parameters"), 0u);
    EXPECT_EQ(system.count("ControlSet001\\Services\\Spooler"), 1u);
    EXPECT_EQ(readHiveContents(volume_ / (std::string(kSystem) + ".brisko-backup")).count(kEvilService), 1u);
    // What was there before stays beside it.
    EXPECT_EQ(contentOf(volume_ / (std::string(kSoftware) + ".brisko-backup")), softwareBefore);
    EXPECT_TRUE(hasRunValue(volume_ / (std::string(kUserHive) + ".brisko-backup"), kUserRunKey, "Helper"));
    EXPECT_FALSE(fs::exists(volume_ / kHosts));
    EXPECT_EQ(contentOf(volume_ / (std::string(kHosts) + ".brisko-backup")), infectedHosts_);
}

// Every event, one JSON object a line, and the summary last.
TEST_F(OfflineCleanupRunTest, TheReportFileHoldsEveryEventAndASummary) {
    const fs::path report = root_ / "report.json";
    const testing::ScanRun run = scan("--action remove --report " + report.string() + " " + volume_.string());
    ASSERT_EQ(run.exitStatus, 1) << run.errors;
    std::vector<std::string> objects;
    std::ifstream in(report);
    for (std::string line; std::getline(in, line);) objects.push_back(line);
    const std::string hosts = R"("path":"C:\\Windows\\System32\\drivers\\etc\\hosts","threat":"W32/Pelto.Worm")";
    const std::string evil = R"("path":"C:\\Windows\\System32\\evil.exe","threat":"W32/Krenot.Ek.PSW.Trojan")";
    EXPECT_THAT(objects, Contains(R"({"event":"detection",)" + evil + "}"));
    EXPECT_THAT(objects, Contains(R"({"event":"hosts",)" + hosts + "}"));
    EXPECT_THAT(objects, Contains(R"({"event":"treatment",)" + hosts + R"(,"result":"removed"})"));
    EXPECT_THAT(objects, Contains(R"({"event":"treatment",)" + evil + R"(,"result":"removed"})"));
    EXPECT_THAT(objects, Contains(R"({"event":"registry value","key":"Software\\Microsoft\\Windows\\CurrentVersion\\Run",)"
                                  R"("threat":"W32/Krenot.Trojan","value":"Updater","hive":"Windows\\System32\\config\\SOFTWARE"})"));
    EXPECT_THAT(objects, Contains(R"({"event":"registry value","key":"Software\\Microsoft\\Windows\\CurrentVersion\\Run",)"
                                  R"("threat":"W32/Krenot.Trojan","value":"Helper","hive":"Users\\alice\\NTUSER.DAT"})"));
    EXPECT_THAT(objects, Contains(R"({"event":"registry key","key":"Services\\EvilSvc","threat":"W32/Krenot.Ek.PSW.Trojan",)"
                                  R"("hive":"Windows\\System32\\config\\SYSTEM"})"));
    // The summary tells what the statistics block tells.
    const auto scanned = std::find_if(run.lines.begin(), run.lines.end(), [](const std::string& line) {
        return line.rfind("Total files scanned\t\t:  ", 0) == 0;
    });
    ASSERT_NE(scanned, run.lines.end());
    ASSERT_FALSE(objects.empty());
    EXPECT_EQ(objects.back(), R"({"summary":{"action":"remove","files scanned":)" + scanned->substr(24) +
                                  R"(,"files infected":2,"files removed":2,"files renamed":0,"exit status":1}})");
}

TEST_F(OfflineCleanupRunTest, LeaveReportsWhatWouldBeDoneAndWritesNothing) {
    const std::string softwareBefore = contentOf(volume_ / kSoftware);
    const std::string userBefore = contentOf(volume_ / kUserHive);
    const testing::ScanRun run = scan(volume_.string());
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    EXPECT_THAT(run.lines, Contains("System Registry     W32/Krenot.Trojan removed  [Windows\\System32\\config\\SOFTWARE, "
                                    "not written: --action leave]"));
    EXPECT_THAT(run.lines, Contains("C:\\Windows\\System32\\drivers\\etc\\hosts     W32/Pelto.Worm Not Disinfected As "
                                    "Per User's Selection"));
    EXPECT_EQ(contentOf(volume_ / kSoftware), softwareBefore);
    EXPECT_EQ(contentOf(volume_ / kUserHive), userBefore);
    EXPECT_EQ(contentOf(volume_ / kHosts), infectedHosts_);
    for (const auto& entry : fs::recursive_directory_iterator(volume_)) {
        EXPECT_EQ(entry.path().string().find(".brisko-backup"), std::string::npos) << entry.path();
    }
}

TEST_F(OfflineCleanupRunTest, AHiveThatCannotBeReadIsReportedAndLeftUntouched) {
    write(kUserHive, "regf but not really a hive");
    const std::string userBefore = contentOf(volume_ / kUserHive);
    const testing::ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_THAT(run.lines, Contains(HasSubstr("C:\\Users\\alice\\NTUSER.DAT: ")));
    EXPECT_EQ(contentOf(volume_ / kUserHive), userBefore);
    EXPECT_FALSE(fs::exists(volume_ / (std::string(kUserHive) + ".brisko-backup")));
    // The machine's hive is cleaned all the same.
    EXPECT_FALSE(hasRunValue(volume_ / kSoftware, kRunKey, "Updater"));
}

using Windows9xRunTest = testing::ScanRunTest;

// The registry is skipped, but the 9x hosts file in the Windows folder is
// treated like any other.
TEST_F(Windows9xRunTest, TheRegistryIsReportedAndSkippedAndTheHostsFileTreated) {
    write("WINDOWS/SYSTEM.DAT", "a 9x registry");
    write("WINDOWS/tool.exe", buildSample(signatureTable[3]));
    const std::string infected = infectedHostsText();
    write("WINDOWS/hosts", infected);
    const testing::ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    EXPECT_THAT(run.lines, Contains("C:\\Windows\\SYSTEM.DAT: a registry of the Windows 9x family, which cannot be "
                                    "read here; its values are not checked"));
    EXPECT_THAT(run.lines, Contains("C:\\Windows\\hosts     W32/Pelto.Worm removed"));
    EXPECT_FALSE(fs::exists(volume_ / "WINDOWS/hosts"));
    EXPECT_EQ(contentOf(volume_ / "WINDOWS/hosts.brisko-backup"), infected);
    EXPECT_EQ(contentOf(volume_ / "WINDOWS/SYSTEM.DAT"), "a 9x registry");
}

}  // namespace
}  // namespace brisko
