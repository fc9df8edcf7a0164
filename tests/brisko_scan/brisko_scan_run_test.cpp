// Runs the real brisko-scan program over folders of synthetic samples.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cleanup/hosts_pattern.h"
#include "tests/support/hosts_texts.h"
#include "matcher/threat_signature.h"
#include "tests/brisko_scan/scan_run_fixture.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using BriskoScanRunTest = testing::ScanRunTest;
using testing::ScanRun;

TEST_F(BriskoScanRunTest, ACleanVolumeExitsZero) {
    write("Windows/notepad.exe", "not a sample");
    write("Users/readme.txt", "hello");
    const ScanRun run = scan(volume_.string());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_THAT(run.lines, ElementsAre("Scanning statistics", "------------------------------",
                                       "Total files scanned\t\t:  2", "Total files infected\t\t:  0",
                                       "Total files removed\t\t:  0", "Scanning completed"));
}

TEST_F(BriskoScanRunTest, SamplesAreReportedAndLeftInPlaceByDefault) {
    write("Windows/System32/svc.exe", buildSample(signatureTable[0]));
    write("Users/x/Downloads/tool.exe", buildSample(signatureTable[120], SampleLayout::SectionsWithHoles));
    write("Users/x/notes.txt", "notes");
    const ScanRun run = scan(volume_.string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_THAT(run.lines,
                ElementsAre("C:\\Users\\x\\Downloads\\tool.exe     W32/Krenot.Fqc.PSW.Trojan not disinfected as "
                            "per user's selection",
                            "C:\\Windows\\System32\\svc.exe     W32/Krenot.Ek.PSW.Trojan not disinfected as per "
                            "user's selection",
                            " ", "Scanning statistics", "------------------------------",
                            "Total files scanned\t\t:  3", "Total files infected\t\t:  2",
                            "Total files removed\t\t:  0", "Scanning completed"));
    EXPECT_TRUE(fs::exists(volume_ / "Windows/System32/svc.exe"));
    EXPECT_TRUE(fs::exists(volume_ / "Users/x/Downloads/tool.exe"));
}

TEST_F(BriskoScanRunTest, RemoveDeletesTheSamplesAndASecondScanIsClean) {
    write("Program Files/App/app.exe", buildSample(signatureTable[4]));
    write("Program Files/App/app.dll", "library");
    ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_THAT(run.lines, ::testing::Contains("C:\\Program Files\\App\\app.exe     W32/Krenot.Gn.PSW.Trojan removed"));
    EXPECT_THAT(run.lines, ::testing::Contains("Total files removed\t\t:  1"));
    EXPECT_FALSE(fs::exists(volume_ / "Program Files/App/app.exe"));
    EXPECT_TRUE(fs::exists(volume_ / "Program Files/App/app.dll"));

    run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 0);
}

// Without the registry of an installation the volume is only files: its
// hosts files are not those of a Windows the scan can tell.
TEST_F(BriskoScanRunTest, HostsFilesOutsideARecognisedInstallationAreLeftAlone) {
    const std::string infectedHosts = testing::infectedHostsText();
    write("WINDOWS/SYSTEM32/drivers/etc/hosts", infectedHosts);
    write("WINDOWS/hosts", infectedHosts);
    write("a.exe", buildSample(signatureTable[2]));
    const ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_THAT(run.lines, ::testing::Contains("Total files infected\t\t:  1"));
    EXPECT_TRUE(fs::exists(volume_ / "WINDOWS/SYSTEM32/drivers/etc/hosts"));
    EXPECT_TRUE(fs::exists(volume_ / "WINDOWS/hosts"));
}

TEST_F(BriskoScanRunTest, RenameChangesTheExtension) {
    write("a.exe", buildSample(signatureTable[60]));
    const ScanRun run = scan("--action rename " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(fs::exists(volume_ / "a.Vxe"));
    EXPECT_FALSE(fs::exists(volume_ / "a.exe"));
}

// The renamed name is taken: the sample stays, and the status says so.
TEST_F(BriskoScanRunTest, ASampleThatCouldNotBeTreatedExitsThree) {
    write("a.exe", buildSample(signatureTable[60]));
    write("a.Vxe", "someone else's file");
    const ScanRun run = scan("--action rename " + volume_.string());
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_THAT(run.lines, ::testing::Contains(HasSubstr("a.exe     " + std::string(signatureTable[60].name) +
                                                         " Rename failed")));
    EXPECT_TRUE(fs::exists(volume_ / "a.exe"));
}

TEST_F(BriskoScanRunTest, UsageErrorsAndUnreadableFoldersExitTwo) {
    for (const std::string& arguments : {std::string(""), std::string("--action erase ") + volume_.string(),
                                         (root_ / "missing").string(), (root_ / "stderr").string()}) {
        SCOPED_TRACE(arguments);
        const ScanRun run = scan(arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_TRUE(run.lines.empty());
        EXPECT_FALSE(run.errors.empty());
    }
    EXPECT_THAT(scan((root_ / "missing").string()).errors, HasSubstr("cannot read the folder"));
}

// An administrator keeps one log for many runs: each run appends its lines
// under its own header.
TEST_F(BriskoScanRunTest, TheLogGetsAHeaderAndTheLinesOfEachRun) {
    write("a.exe", buildSample(signatureTable[7]));
    const std::string log = (root_ / "runs.log").string();
    EXPECT_EQ(scan("--log " + log + " " + volume_.string()).exitStatus, 1);
    EXPECT_EQ(scan("--action=remove --log=" + log + " " + volume_.string()).exitStatus, 1);

    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 20u) << ::testing::PrintToString(lines);
    for (const std::size_t header : {0u, 10u}) {
        EXPECT_THAT(lines[header], ::testing::MatchesRegex("=== brisko-scan Brisko Ver 1\\.0 on .+, user .+, "
                                                             "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8} UTC ==="));
    }
    EXPECT_THAT(lines[1], HasSubstr("a.exe     " + std::string(signatureTable[7].name) + " not disinfected"));
    EXPECT_EQ(lines[8], "Scanning completed");
    EXPECT_EQ(lines[9], "exit status 1");
    EXPECT_THAT(lines[11], HasSubstr("a.exe     " + std::string(signatureTable[7].name) + " removed"));
    EXPECT_EQ(lines[19], "exit status 1");
}

TEST_F(BriskoScanRunTest, RestartIsRefusedOnAMountedVolume) {
    write("a.exe", buildSample(signatureTable[7]));
    const ScanRun run = scan("--restart force " + volume_.string());
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_THAT(run.errors, HasSubstr("--restart is for brisko-scan.exe"));
    EXPECT_TRUE(fs::exists(volume_ / "a.exe"));
}

}  // namespace
}  // namespace brisko
