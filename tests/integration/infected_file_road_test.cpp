// The road of an infected file through the whole scan: detection, the
// registry cleanup, removal with the variant's entries, and a file that
// stays locked until the next start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scan/scan_driver.h"
#include "matcher/threat_signature.h"
#include "tests/support/scan_fixture.h"
#include "tools/sample_writer/sample_writer.h"
#include "platform/message_box_flags.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using testing::ScanTest;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";

class InfectedFileRoadTest : public ScanTest {
protected:
    InfectedFileRoadTest() : ScanTest(testing::kStandInForNothing) {
        machine.addWindowsInstallation();
        const std::vector<std::uint8_t> sample = buildSample(signatureTable[0]);
        machine.writeFile("C:\\Apps\\evil.exe", std::string(sample.begin(), sample.end()));
        machine.writeFile("C:\\Apps\\readme.txt", "clean");
    }

    void scanApps() {
        std::strcpy(scanSession.scanTarget, "C:\\Apps");
        scanSession.userAction = kActionRemove;
        runScanDriver(scan);
    }

    std::vector<std::string> linesBeforeStatistics() {
        std::vector<std::string> lines = reportLines();
        lines.resize(lines.size() - 6);
        return lines;
    }
};

TEST_F(InfectedFileRoadTest, RegistryLinesComeFirstThenTheFileGoesWithTheVariantsEntries) {
    machine.fakeRegistry().setString(kRun, "Updater", "\"C:\\Apps\\evil.exe\" /silent");
    machine.fakeRegistry().setString(kRun, "Other", "C:\\Apps\\other.exe");
    machine.fakeRegistry().setString(kUninstall, "UninstallString", "C:\\Apps\\uninstall.exe");
    machine.fakeRegistry().setString(kRun, "SMrhcjg7j0e38v", "C:\\Apps\\rhcjg7j0e38v.exe");
    scanApps();
    EXPECT_THAT(linesBeforeStatistics(), ElementsAre("System Registry     W32/Krenot.Trojan removed",
                                                     "C:\\Apps\\evil.exe     W32/Krenot.Ek.PSW.Trojan removed"));
    EXPECT_FALSE(machine.fileExists("C:\\Apps\\evil.exe"));
    EXPECT_FALSE(machine.fakeRegistry().value(kRun, "Updater").has_value());
    EXPECT_TRUE(machine.fakeRegistry().value(kRun, "Other").has_value());
    EXPECT_FALSE(machine.fakeRegistry().value(kUninstall, "UninstallString").has_value());
    EXPECT_FALSE(machine.fakeRegistry().value(kRun, "SMrhcjg7j0e38v").has_value());
    EXPECT_EQ(scanSession.filesRemoved, 1);
    EXPECT_TRUE(events("dialog").empty());
}

// Each family on a machine of its own.
TEST(InfectedFileRoadFamiliesTest, AFileThatStaysLockedIsScheduledAndTheRestartOffered) {
    struct Case {
        std::uint32_t platformId;
        std::uint32_t major;
    };
    for (const Case& c : {Case{kPlatformNt, 5}, Case{kPlatformWindows, 4}}) {
        SCOPED_TRACE(c.platformId);
        fake::FakeMachine machine;
        machine.addWindowsInstallation();
        machine.fakeControl().setVersion(c.platformId, c.major, 10);
        const std::vector<std::uint8_t> sample = buildSample(signatureTable[4]);
        machine.writeFile("C:\\Apps\\locked.dll", std::string(sample.begin(), sample.end()));
        machine.writeFile("C:\\Apps\\also locked.dll", std::string(sample.begin(), sample.end()));
        // Programs that hold the files without running them: nothing ends them.
        machine.runProgramHolding("C:\\Apps\\locked.dll");
        machine.runProgramHolding("C:\\Apps\\also locked.dll");
        // No report window: only the question is recorded.
        testing::EventLog eventLog;
        testing::RecordingFrontEnd frontEnd(eventLog);
        frontEnd.answers = {kAnswerYes};
        Scan scan(frontEnd);
        ScanSession& scanSession = scan.session();
        std::strcpy(scanSession.scanTarget, "C:\\Apps");
        scanSession.userAction = kActionRemove;
        runScanDriver(scan);

        EXPECT_TRUE(machine.fileExists("C:\\Apps\\locked.dll"));
        EXPECT_EQ(scanSession.rebootRequired, 1);
        if (c.platformId == kPlatformNt) {
            EXPECT_THAT(machine.fakeFiles().deletionsAtRestart(),
                        ElementsAre("C:\\Apps\\also locked.dll", "C:\\Apps\\locked.dll"));
        } else {
            char first[260];
            char second[260];
            files().shortPathName("C:\\Apps\\also locked.dll", first, sizeof first);
            files().shortPathName("C:\\Apps\\locked.dll", second, sizeof second);
            EXPECT_EQ(machine.readFile("C:\\WINDOWS\\wininit.ini"),
                      "[rename]\r\nNUL=" + std::string(first) + "\r\nNUL=" + second + "\r\n");
        }
        ASSERT_EQ(eventLog.size(), 1u);
        EXPECT_THAT(eventLog[0], ::testing::HasSubstr("Restart now?"));
        EXPECT_EQ(machine.fakeControl().shutdownRequests().size(), 1u);
    }
}

}  // namespace
}  // namespace brisko
