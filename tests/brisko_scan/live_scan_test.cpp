// brisko-scan.exe's run over the simulated machine: the whole live scan
// with the real system actions, answered and ended without a window.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/program_identity.h"
#include "matcher/threat_signature.h"
#include "platform/fake/fake_machine.h"
#include "tools/brisko_scan/exit_status.h"
#include "tools/brisko_scan/live/live_scan.h"
#include "tests/support/temporary_folder.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

constexpr const char* kSample = "C:\\Program Files\\Tool\\tool.exe";
constexpr const char* kOther = "D:\\data\\other.exe";

class LiveScanTest : public ::testing::Test {
protected:
    LiveScanTest() {
        machine.addWindowsInstallation();
        machine.addDrive('D');
        machine.writeFile("C:\\Program Files\\Tool\\readme.txt", "read me");
    }

    void writeSample(const std::string& path, int record) {
        const std::vector<std::uint8_t> sample = buildSample(signatureTable[record]);
        machine.writeFile(path, std::string(sample.begin(), sample.end()));
    }

    int run(std::int32_t action, RestartChoice restart = RestartChoice::kNever, const std::string& folder = "",
            const std::string& reportFile = "") {
        ScanRequest request;
        request.userAction = action;
        request.restart = restart;
        request.folder = folder;
        request.reportFile = reportFile;
        return scanRunningSystem(request, machine, false);
    }

    fake::FakeMachine machine;
};

TEST_F(LiveScanTest, ACleanMachineExitsZero) { EXPECT_EQ(run(kActionRemove), kExitClean); }

TEST_F(LiveScanTest, AnAuditChangesNothingAndRemoveRemovesOnEveryDrive) {
    writeSample(kSample, 3);
    writeSample(kOther, 90);
    EXPECT_EQ(run(kActionLeave), kExitInfected);
    EXPECT_TRUE(machine.fileExists(kSample));
    EXPECT_TRUE(machine.fileExists(kOther));

    EXPECT_EQ(run(kActionRemove), kExitInfected);
    EXPECT_FALSE(machine.fileExists(kSample));
    EXPECT_FALSE(machine.fileExists(kOther));
    EXPECT_EQ(run(kActionRemove), kExitClean);
}

TEST_F(LiveScanTest, AFolderIsScannedAlone) {
    writeSample(kSample, 3);
    writeSample(kOther, 90);
    EXPECT_EQ(run(kActionRemove, RestartChoice::kNever, "D:\\data\\"), kExitInfected);
    EXPECT_TRUE(machine.fileExists(kSample));
    EXPECT_FALSE(machine.fileExists(kOther));
}

// A file held by a program that cannot be ended waits for the next start.
// No message box comes up about the program either way.
TEST_F(LiveScanTest, ALockedSampleNeedsARestartWhichForceStarts) {
    struct Case {
        RestartChoice restart;
        int status;
        std::size_t restarts;
    };
    for (const Case c : {Case{RestartChoice::kNever, kExitRestartNeeded, 0},
                         Case{RestartChoice::kForce, kExitRestartStarted, 1}}) {
        SCOPED_TRACE(c.status);
        writeSample(kSample, 3);
        const int holder = machine.runProgramHolding(kSample);
        machine.fakeProcesses().process(static_cast<std::uint32_t>(holder)).refusesTermination = true;
        const std::size_t restartsBefore = machine.fakeControl().shutdownRequests().size();

        EXPECT_EQ(run(kActionRemove, c.restart), c.status);
        EXPECT_EQ(machine.fakeControl().shutdownRequests().size() - restartsBefore, c.restarts);
        EXPECT_TRUE(machine.fakeControl().systemMessages().empty());
        machine.endProgram(holder);
    }
}

TEST_F(LiveScanTest, ARefusedRestartStillNeedsOne) {
    writeSample(kSample, 3);
    const int holder = machine.runProgramHolding(kSample);
    machine.fakeProcesses().process(static_cast<std::uint32_t>(holder)).refusesTermination = true;
    machine.fakeControl().setShutdownResult(0);
    EXPECT_EQ(run(kActionRemove, RestartChoice::kForce), kExitRestartNeeded);
}

TEST_F(LiveScanTest, WithoutAdministratorRightsNothingIsScanned) {
    writeSample(kSample, 3);
    machine.fakePrivileges().removeAdministratorRights();
    EXPECT_EQ(run(kActionRemove), kExitUsage);
    EXPECT_TRUE(machine.fileExists(kSample));
    // One folder needs no more than the rights to that folder.
    EXPECT_EQ(run(kActionRemove, RestartChoice::kNever, "C:\\Program Files"), kExitInfected);
    EXPECT_FALSE(machine.fileExists(kSample));
}

TEST_F(LiveScanTest, NothingIsScannedBesideBriskoExe) {
    writeSample(kSample, 3);
    machine.fakeWindows().showOtherProgramWindow(programTitle);
    EXPECT_EQ(run(kActionRemove), kExitUsage);
    EXPECT_TRUE(machine.fileExists(kSample));
    machine.fakeWindows().closeOtherProgramWindow(programTitle);
    EXPECT_EQ(run(kActionRemove), kExitInfected);
}

// On 64-bit Windows the report tells which registry view each removed value
// was in, the program's own first.
TEST_F(LiveScanTest, TheReportNamesTheViewOfEveryRemovedValue) {
    machine.fakeRegistry().setBitness(fake::FakeBitness::k64BitProgram);
    writeSample(kSample, 3);
    for (const char* software : {"Software", "Software\\Wow6432Node"}) {
        machine.fakeRegistry().setString(std::string(software) + "\\Microsoft\\Windows\\CurrentVersion\\Run", "tool",
                                         kSample);
    }
    const TemporaryFolder folder("live-scan-report");
    const std::string report = (folder.path() / "report.jsonl").string();
    EXPECT_EQ(run(kActionRemove, RestartChoice::kNever, "", report), kExitInfected);
    std::ifstream in(report);
    std::vector<std::string> values;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("{\"event\":\"registry value\"", 0) == 0) values.push_back(line);
    }
    const std::string removed =
        R"({"event":"registry value","key":"Software\\Microsoft\\Windows\\CurrentVersion\\Run",)"
        R"("threat":"W32/Krenot.Trojan","value":"tool","view":)";
    EXPECT_EQ(values, (std::vector<std::string>{removed + R"("64-bit"})", removed + R"("32-bit"})"}));
}

// On NT 4 and XP a running trojan that can be neither ended nor stopped
// as a service ends the program at once: the exit status still tells the
// restart that is needed, or that it was started.
TEST_F(LiveScanTest, AnInfectedProcessLeftRunningEndsTheRunWithARestartStatus) {
    writeSample(kSample, 3);
    const int process = machine.runProgram(kSample);
    machine.fakeProcesses().process(static_cast<std::uint32_t>(process)).refusesTermination = true;
    // A Linux exit status keeps the low 8 bits: 3010 and 1641 arrive as 194
    // and 105, still apart from each other and from every other status.
    EXPECT_EXIT(run(kActionRemove), ::testing::ExitedWithCode(kExitRestartNeeded & 0xFF), "");
    EXPECT_EXIT(run(kActionRemove, RestartChoice::kForce), ::testing::ExitedWithCode(kExitRestartStarted & 0xFF),
                "");
}

}  // namespace
}  // namespace brisko
