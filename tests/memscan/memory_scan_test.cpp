// The memory scan inside a whole scan: processes of the simulated machine
// run synthetic samples, which the scan detects, ends and hands on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "memscan/memory_scan.h"
#include "tests/support/scan_fixture.h"
#include "tools/sample_writer/sample_writer.h"
#include "platform/message_box_flags.h"

namespace brisko {
namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kInfected = "C:\\trojan\\svc1.exe";
constexpr const char* kClean = "C:\\apps\\clean.exe";
constexpr const char* kMemoryLine = "System Memory    W32/Krenot.Trojan  removed";
constexpr const char* kService = "SYSTEM\\ControlSet001\\Services\\svc1";

class MemoryScanTest : public testing::ScanTest {
protected:
    MemoryScanTest() : ScanTest(testing::kStandInForCleanup) {
        machine.addDrive('C');
        machine.writeFile(kClean, "MZ not infected");
        clean = table.start(kClean);
        runInfected();
        scanSession.userAction = kActionRemove;
        scanSession.memoryRestartNeeded = 0;
    }
    ~MemoryScanTest() override { scanSession.memoryRestartNeeded = 0; }

    // Writes the infected image again if it was removed, and runs it unless
    // it still runs.
    void runInfected() {
        if (infected != 0 && table.isRunning(infected)) return;
        const std::vector<std::uint8_t> sample = buildSample(signatureTable[0]);
        machine.writeFile(kInfected, std::string(sample.begin(), sample.end()));
        infected = table.start(kInfected);
    }

    void setVersion(std::uint32_t platformId, std::uint32_t major) {
        machine.fakeControl().setVersion(platformId, major);
    }

    fake::FakeProcesses& table = machine.fakeProcesses();
    std::uint32_t clean = 0;
    std::uint32_t infected = 0;
};

TEST_F(MemoryScanTest, EndsInfectedProcessesAndRemovesTheirFiles) {
    for (std::uint32_t platformId : {kPlatformWindows, kPlatformNt}) {
        SCOPED_TRACE(platformId);
        resetRecords();
        setVersion(platformId, 4);
        runInfected();
        runMemoryScan(context, scan);
        EXPECT_FALSE(table.isRunning(infected));
        EXPECT_TRUE(table.isRunning(clean));
        EXPECT_FALSE(machine.fileExists(kInfected));
        EXPECT_TRUE(machine.fileExists(kClean));
        EXPECT_THAT(reportLines(), Contains(kMemoryLine));
        EXPECT_EQ(scanSession.inMemoryScan, 0);
        EXPECT_EQ(scanSession.memoryScanAction, 0);
        EXPECT_EQ(scanSession.filesScanned, 0);
        EXPECT_EQ(scanSession.memoryRestartNeeded, 0);
        EXPECT_EQ(table.openHandles(), 0);
    }
}

TEST_F(MemoryScanTest, LeaveInPlaceEndsNothing) {
    scanSession.userAction = kActionLeave;
    for (std::uint32_t platformId : {kPlatformWindows, kPlatformNt}) {
        SCOPED_TRACE(platformId);
        setVersion(platformId, 5);
        runMemoryScan(context, scan);
        EXPECT_TRUE(table.isRunning(infected));
        EXPECT_TRUE(machine.fileExists(kInfected));
        EXPECT_EQ(scanSession.filesInfected, platformId == kPlatformWindows ? 1 : 2);
    }
}

TEST_F(MemoryScanTest, On9xAnUnendedProcessStillHasItsFileTreated) {
    setVersion(kPlatformWindows, 4);
    table.process(infected).refusesTermination = true;
    runMemoryScan(context, scan);
    EXPECT_TRUE(table.isRunning(infected));
    EXPECT_THAT(reportLines(), ElementsAre(kMemoryLine, std::string(kInfected) + "     W32/Krenot.Trojan  Unable to remove"));
    EXPECT_THAT(events("schedule"), ElementsAre(kInfected));
}

TEST_F(MemoryScanTest, OnNtAnUnendedProcessIsStoppedAsItsService) {
    for (std::uint32_t major : {4u, 5u}) {
        SCOPED_TRACE(major);
        setVersion(kPlatformNt, major);
        runInfected();
        table.process(infected).refusesTermination = true;
        machine.fakeServices().add("svc1") = fake::FakeService{};
        machine.fakeServices().service("svc1").processId = infected;
        machine.fakeRegistry().addKey(std::string(kService) + "\\Enum");
        runMemoryScan(context, scan);
        EXPECT_FALSE(table.isRunning(infected));
        EXPECT_FALSE(machine.fileExists(kInfected));
        EXPECT_FALSE(machine.fakeRegistry().hasKey(kService));
        EXPECT_EQ(scanSession.memoryRestartNeeded, 0);
        EXPECT_THAT(events("dialog"), IsEmpty());
    }
}

TEST_F(MemoryScanTest, OnNtAProcessThatCannotBeStoppedEndsTheProgramAfterThePrompt) {
    struct Case {
        int answer;
        std::size_t restarts;
    };
    for (const Case c : {Case{kAnswerCancel, 0}, Case{kAnswerOk, 1}}) {
        SCOPED_TRACE(c.answer);
        resetRecords();
        frontEnd.answers.push_back(c.answer);
        setVersion(kPlatformNt, 5);
        table.process(infected).refusesTermination = true;
        machine.fakeRegistry().addKey(kService);
        const std::size_t restartsBefore = machine.fakeControl().shutdownRequests().size();
        try {
            runMemoryScan(context, scan);
            ADD_FAILURE() << "the program went on";
        } catch (const fake::ProgramExited& exited) {
            EXPECT_EQ(exited.code, 0);
        }
        EXPECT_EQ(scanSession.memoryRestartNeeded, 1);
        EXPECT_FALSE(machine.fakeRegistry().hasKey(kService));
        EXPECT_TRUE(machine.fileExists(kInfected));
        EXPECT_THAT(events("dialog"),
                    ElementsAre("Brisko Ver 1.0|W32/Krenot.Trojan  found in memory! registry entries created by "
                                "the worm are removed. You must restart the computer and run this program to "
                                "continue scanning.\n\nRestart the computer now?|65"));
        EXPECT_EQ(machine.fakeControl().shutdownRequests().size() - restartsBefore, c.restarts);
    }
}

// Ending a process is tried twice before its service is turned to: a
// process that refuses only the first try ends, and its file goes.
TEST_F(MemoryScanTest, OnNtAProcessThatRefusesOnlyTheFirstTryIsEnded) {
    setVersion(kPlatformNt, 4);
    machine.faults().failNext(fake::SeamCall::kTerminateProcess);
    runMemoryScan(context, scan);
    EXPECT_FALSE(table.isRunning(infected));
    EXPECT_FALSE(machine.fileExists(kInfected));
    EXPECT_EQ(scanSession.memoryRestartNeeded, 0);
}

TEST_F(MemoryScanTest, OnLaterNtVersionsAnUnendedProcessIsLeftToTheDriveWalk) {
    setVersion(kPlatformNt, 6);
    table.process(infected).refusesTermination = true;
    machine.fakeServices().add("svc1").processId = infected;
    runMemoryScan(context, scan);
    EXPECT_TRUE(table.isRunning(infected));
    EXPECT_TRUE(machine.fileExists(kInfected));
    EXPECT_EQ(machine.fakeServices().stopControls(), 0u);
    EXPECT_EQ(scanSession.memoryRestartNeeded, 0);
    EXPECT_THAT(events("dialog"), IsEmpty());
    EXPECT_EQ(scanSession.inMemoryScan, 0);
}

// A 32-bit build on 64-bit Windows can neither name the image of a 64-bit
// process nor open some processes at all: they are passed over without a
// line, a question or a message box, and the infected one is still ended.
TEST_F(MemoryScanTest, ProcessesWhoseImageCannotBeReadArePassedOverQuietly) {
    setVersion(kPlatformNt, 10);
    table.start("");
    table.process(table.start("C:\\Windows\\System32\\svchost.exe")).refusesOpen = true;
    runMemoryScan(context, scan);
    EXPECT_FALSE(table.isRunning(infected));
    EXPECT_THAT(reportLines(), ElementsAre(kMemoryLine, ::testing::StartsWith(std::string(kInfected) + "     ")));
    EXPECT_THAT(reportLines(), Each(Not(HasSubstr("Unable"))));
    EXPECT_THAT(events("dialog"), IsEmpty());
    EXPECT_THAT(machine.fakeControl().systemMessages(), IsEmpty());
}

TEST_F(MemoryScanTest, NothingIsDoneWithoutAFamilyOrAList) {
    struct Case {
        const char* name;
        std::uint32_t platformId;
        bool psapi;
    };
    for (const Case& c : {Case{"Win32s", kPlatformWin32s, true}, Case{"platform 3", 3, true},
                          Case{"NT without PSAPI", kPlatformNt, false}}) {
        SCOPED_TRACE(c.name);
        setVersion(c.platformId, 5);
        if (!c.psapi) table.removePsapi();
        runMemoryScan(context, scan);
        EXPECT_TRUE(table.isRunning(infected));
        EXPECT_EQ(scanSession.filesInfected, 0);
        EXPECT_EQ(scanSession.inMemoryScan, 0);
    }
}

}  // namespace
}  // namespace brisko
