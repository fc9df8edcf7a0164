#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>

#include "base/bounded_text.h"
#include "scan/disposition.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using testing::ScanTest;

constexpr const char* kThreat = "W32/Krenot.Gn.PSW.Trojan";

class DispositionTest : public ScanTest {
protected:
    DispositionTest() { machine.addDrive('C'); }

    // As the matcher leaves things right before it calls the disposition.
    void dispose(const std::string& path, std::int32_t action) {
        scanSession.userAction = action;
        copyTruncated(scanSession.currentItem, path.c_str());
        copyTruncated(scanSession.currentThreat, kThreat);
        disposeInfectedFile(scan, path.c_str(), kThreat);
    }
};

TEST_F(DispositionTest, RemovesFilesWhateverTheirAttributes) {
    for (std::uint32_t attributes : {kAttributeArchive, kAttributeReadOnly,
                                     kAttributeReadOnly | kAttributeHidden | kAttributeSystem}) {
        SCOPED_TRACE(attributes);
        resetRecords();
        scanSession.filesRemoved = 0;
        machine.writeFile("C:\\dir\\a.exe", "x");
        ASSERT_TRUE(machine.files().setAttributes("C:\\dir\\a.exe", attributes));
        dispose("C:\\dir\\a.exe", kActionRemove);
        EXPECT_FALSE(machine.fileExists("C:\\dir\\a.exe"));
        EXPECT_EQ(scanSession.filesRemoved, 1);
        EXPECT_THAT(eventLog,
                    ElementsAre("variant cleanup", "line: C:\\dir\\a.exe     W32/Krenot.Gn.PSW.Trojan removed"));
    }
}

TEST_F(DispositionTest, ActionOneHundredAndTwoRemovesToo) {
    machine.writeFile("C:\\a.exe", "x");
    dispose("C:\\a.exe", kActionRemoveToo);
    EXPECT_FALSE(machine.fileExists("C:\\a.exe"));
    EXPECT_EQ(scanSession.filesRemoved, 1);
}

TEST_F(DispositionTest, AttributesThatCannotBeChangedLeaveTheFileAlone) {
    machine.writeFile("C:\\a.exe", "x");
    machine.fakeFiles().failSettingAttributes("C:\\a.exe");
    scanSession.userAction = kActionRemove;
    copyTruncated(scanSession.currentItem, "C:\\shown..a.exe");
    copyTruncated(scanSession.currentThreat, "W32/Krenot.Ek.PSW.Trojan");
    disposeInfectedFile(scan, "C:\\a.exe", kThreat);
    EXPECT_TRUE(machine.fileExists("C:\\a.exe"));
    // Reported with what the status and the last detection hold.
    EXPECT_THAT(eventLog, ElementsAre("line: C:\\shown..a.exe     W32/Krenot.Ek.PSW.Trojan Unable to remove"));
}

TEST_F(DispositionTest, AFileInUseIsRemovedOnceItsProgramHasEnded) {
    machine.writeFile("C:\\a.exe", "x");
    const int program = machine.runProgramHolding("C:\\a.exe");
    actions.onTerminate = [&](const std::string&) { machine.endProgram(program); };
    dispose("C:\\a.exe", kActionRemove);
    EXPECT_FALSE(machine.fileExists("C:\\a.exe"));
    EXPECT_EQ(scanSession.filesRemoved, 1);
    EXPECT_THAT(eventLog, ElementsAre("terminate: C:\\a.exe", "variant cleanup",
                                                 "line: C:\\a.exe     W32/Krenot.Gn.PSW.Trojan removed"));
}

TEST_F(DispositionTest, AFileThatStaysLockedIsScheduledAndTheRestartRequested) {
    struct Case {
        int terminateResult;
        int scheduleResult;
    };
    for (const Case& c : {Case{1, 1}, Case{0, 1}, Case{1, 0}, Case{0, 0}}) {
        SCOPED_TRACE(std::to_string(c.terminateResult) + "/" + std::to_string(c.scheduleResult));
        resetRecords();
        scanSession.rebootRequired = 0;
        machine.writeFile("C:\\a.exe", "x");
        machine.runProgramHolding("C:\\a.exe");
        actions.terminateResult = c.terminateResult;
        actions.scheduleResults = {c.scheduleResult};
        dispose("C:\\a.exe", kActionRemove);
        EXPECT_TRUE(machine.fileExists("C:\\a.exe"));
        EXPECT_EQ(scanSession.filesRemoved, 0);
        EXPECT_THAT(eventLog, ElementsAre("terminate: C:\\a.exe",
                                                     "line: C:\\a.exe     W32/Krenot.Gn.PSW.Trojan Unable to remove",
                                                     "schedule: C:\\a.exe"));
        EXPECT_EQ(scanSession.rebootRequired, c.scheduleResult);
    }
}

TEST_F(DispositionTest, AFailedSchedulingKeepsAnEarlierRestartRequest) {
    machine.writeFile("C:\\a.exe", "x");
    machine.writeFile("C:\\b.exe", "x");
    machine.runProgramHolding("C:\\a.exe");
    machine.runProgramHolding("C:\\b.exe");
    actions.scheduleResults = {1, 0};
    dispose("C:\\a.exe", kActionRemove);
    dispose("C:\\b.exe", kActionRemove);
    EXPECT_EQ(scanSession.rebootRequired, 1);
}

TEST_F(DispositionTest, RenameReplacesTheCharacterAfterTheLastDot) {
    machine.writeFile("C:\\dir\\a.exe", "content");
    dispose("C:\\dir\\a.exe", kActionRename);
    EXPECT_FALSE(machine.fileExists("C:\\dir\\a.exe"));
    EXPECT_EQ(machine.readFile("C:\\dir\\a.Vxe"), "content");
    EXPECT_EQ(scanSession.filesRenamed, 1);
    EXPECT_EQ(scanSession.filesRemoved, 0);
    EXPECT_THAT(reportLines(), ElementsAre("C:\\dir\\a.exe     W32/Krenot.Gn.PSW.Trojan renamed"));
}

TEST_F(DispositionTest, RenameThatCannotBeDoneIsReportedAndChangesNothing) {
    struct Case {
        const char* path;
        bool failRenaming;
    };
    const Case cases[] = {
        // The last dot is the folder's: the target folder does not exist.
        {"C:\\dir.d\\file", false},
        // No character after the last dot to replace.
        {"C:\\dir\\trailing.", false},
        {"C:\\dir\\b.exe", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        resetRecords();
        machine.writeFile(c.path, "content");
        if (c.failRenaming) machine.fakeFiles().failRenaming(c.path);
        dispose(c.path, kActionRename);
        EXPECT_EQ(machine.readFile(c.path), "content");
        EXPECT_EQ(scanSession.filesRenamed, 0);
        EXPECT_THAT(reportLines(), ElementsAre(std::string(c.path) + "     W32/Krenot.Gn.PSW.Trojan Rename failed"));
    }
}

TEST_F(DispositionTest, LeaveReportsWithoutTouchingFileOrCounters) {
    machine.writeFile("C:\\a.exe", "x");
    dispose("C:\\a.exe", kActionLeave);
    EXPECT_TRUE(machine.fileExists("C:\\a.exe"));
    EXPECT_EQ(scanSession.filesRemoved + scanSession.filesRenamed, 0);
    EXPECT_THAT(reportLines(),
                ElementsAre("C:\\a.exe     W32/Krenot.Gn.PSW.Trojan not disinfected as per user's selection"));
}

TEST_F(DispositionTest, UnknownActionsDoNothing) {
    for (std::int32_t action : {0, 99, 104, -1}) {
        SCOPED_TRACE(action);
        machine.writeFile("C:\\a.exe", "x");
        dispose("C:\\a.exe", action);
        EXPECT_TRUE(machine.fileExists("C:\\a.exe"));
        EXPECT_TRUE(eventLog.empty());
    }
}

TEST_F(DispositionTest, DirectDispositionAnnouncesTheMemoryFindFirstAndWaits) {
    machine.writeFile("C:\\run.exe", "x");
    scanSession.memoryScanAction = kActionRemove;
    disposeDirectly(scan, "C:\\run.exe", "W32/Krenot.Trojan ");
    EXPECT_EQ(scanSession.userAction, kActionRemove);
    EXPECT_FALSE(machine.fileExists("C:\\run.exe"));
    EXPECT_EQ(machine.fakeSystem().sleptMilliseconds(), 1000u);
    EXPECT_THAT(reportLines(), ElementsAre("System Memory    W32/Krenot.Trojan  removed",
                                           "C:\\run.exe     W32/Krenot.Trojan  removed"));
}

TEST_F(DispositionTest, DirectDispositionPostsItsLineWhateverTheOutcome) {
    machine.writeFile("C:\\run.exe", "x");
    machine.fakeFiles().failRenaming("C:\\run.exe");
    scanSession.memoryScanAction = kActionRename;
    disposeDirectly(scan, "C:\\run.exe", "W32/Krenot.Trojan ");
    EXPECT_THAT(reportLines(), ElementsAre("System Memory    W32/Krenot.Trojan  removed",
                                           "C:\\run.exe     W32/Krenot.Trojan  Rename failed"));
}

}  // namespace
}  // namespace brisko
