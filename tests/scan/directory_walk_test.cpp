#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "walk/directory_walk.h"
#include "scan/scan_driver.h"
#include "tests/support/scan_fixture.h"
#include "tools/sample_writer/sample_writer.h"
#include "platform/message_box_flags.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using testing::ScanTest;

class DirectoryWalkTest : public ScanTest {
protected:
    DirectoryWalkTest() { machine.addDrive('D'); }

    void scanFolder(const std::string& target) {
        std::snprintf(scanSession.scanTarget, sizeof scanSession.scanTarget, "%s", target.c_str());
        runScanDriver(scan);
    }

    int walk(const std::string& pattern) { return walkDirectory(context, scan, pattern.c_str()); }

    // Queues more messages than the walk may take: each one it pumps lands
    // in the event log between the shown items, so an extra pump shows too.
    static constexpr std::size_t kQueuedPumps = 100;
    void logEveryPump() {
        const WindowHandle pumped =
            machine.fakeWindows().createWindow([this](const WindowMessage&) { eventLog.push_back("pump"); });
        for (std::size_t i = 0; i < kQueuedPumps; ++i) {
            machine.fakeWindows().postMessage(WindowMessage{pumped, 0x200, 0, 0, 0, 0, 0});
        }
    }
    std::size_t pumpsTaken() { return kQueuedPumps - machine.fakeWindows().pendingMessages(); }
};

TEST_F(DirectoryWalkTest, ShowsEveryEntryOfAFolderBeforeEnteringItsSubfolders) {
    machine.writeFile("D:\\a\\b\\c.exe", "not an image");
    machine.writeFile("D:\\a\\z.txt", "text");
    scanFolder("D:\\a");
    EXPECT_THAT(shownItems(), ElementsAre("D:\\a\\.", "D:\\a\\..", "D:\\a\\b", "D:\\a\\z.txt", "D:\\a\\b\\.",
                                          "D:\\a\\b\\..", "D:\\a\\b\\c.exe", "Scanning completed"));
    EXPECT_EQ(scanSession.filesScanned, 2);
}

TEST_F(DirectoryWalkTest, CountsFilesButNeitherFoldersNorDotEntries) {
    machine.makeDirectory("D:\\t\\empty");
    machine.makeDirectory("D:\\t\\deeper\\still empty");
    machine.writeFile("D:\\t\\one", "");
    machine.writeFile("D:\\t\\deeper\\two.dll", "");
    EXPECT_EQ(walk("D:\\t\\*.*"), 2);
    EXPECT_EQ(scanSession.filesScanned, 2);
}

TEST_F(DirectoryWalkTest, ReturnsTheRunningCountOfFilesScanned) {
    machine.writeFile("D:\\t\\x.bin", "");
    scanSession.filesScanned = 40;
    EXPECT_EQ(walk("D:\\t\\*.*"), 41);
}

TEST_F(DirectoryWalkTest, AFolderThatCannotBeListedIsSkippedSilently) {
    EXPECT_EQ(walk("D:\\missing\\*.*"), 0);
    EXPECT_TRUE(eventLog.empty());
}

TEST_F(DirectoryWalkTest, PumpsTwiceForEachEntryOfPassOneAndOnceInPassTwo) {
    machine.writeFile("D:\\t\\f", "");  // entries: ".", "..", "f"
    logEveryPump();
    walk("D:\\t\\*.*");
    EXPECT_THAT(eventLog,
                ElementsAre("pump", "item: D:\\t\\.", "pump",    // pass 1: before and after each entry
                            "pump", "item: D:\\t\\..", "pump",  //
                            "pump", "item: D:\\t\\f", "pump",    //
                            "pump", "pump", "pump"));             // pass 2: once for each entry
    EXPECT_EQ(machine.fakeWindows().dispatchedMessages().size(), 9u);
    EXPECT_EQ(pumpsTaken(), 9u);
}

TEST_F(DirectoryWalkTest, EscapeAnsweredNoGoesOnAndYesStops) {
    machine.writeFile("D:\\t\\a", "");
    machine.writeFile("D:\\t\\b", "");
    machine.fakeWindows().postKeyDown(kKeyEscape);
    frontEnd.answers = {kAnswerNo};
    EXPECT_EQ(walk("D:\\t\\*.*"), 2);
    EXPECT_EQ(events("dialog"), (std::vector<std::string>{"Brisko Ver 1.0|Terminate the Scan now?|36"}));

    resetRecords();
    scanSession.filesScanned = 0;
    machine.fakeWindows().postKeyDown(kKeyEscape);
    frontEnd.answers = {kAnswerYes};
    EXPECT_EQ(walk("D:\\t\\*.*"), 0);
    EXPECT_EQ(scanSession.stopRequested, 1);
    EXPECT_EQ(scanSession.filesScanned, 0);
}

TEST_F(DirectoryWalkTest, AnyMessageCarryingTheEscapeCodeAsksAndIsNotDispatched) {
    machine.writeFile("D:\\t\\a", "");
    machine.fakeWindows().postMessage(WindowMessage{0, 0x0102 /* a character */, 0x1001B, 0, 0, 0, 0});
    walk("D:\\t\\*.*");
    EXPECT_EQ(events("dialog").size(), 1u);
    EXPECT_TRUE(machine.fakeWindows().dispatchedMessages().empty());
}

TEST_F(DirectoryWalkTest, QuitOrDestroyStopsTheWalkWithoutAQuestion) {
    for (std::uint32_t id : {kMessageQuit, kMessageDestroy}) {
        SCOPED_TRACE(id);
        resetRecords();
        scanSession.stopRequested = 0;
        machine.writeFile("D:\\t\\a", "");
        machine.fakeWindows().postMessage(WindowMessage{0, id, 0, 0, 0, 0, 0});
        EXPECT_EQ(walk("D:\\t\\*.*"), 0);
        EXPECT_EQ(scanSession.stopRequested, 1);
        EXPECT_TRUE(events("dialog").empty());
        EXPECT_TRUE(machine.fakeWindows().dispatchedMessages().empty());
    }
}

TEST_F(DirectoryWalkTest, AStopInANestedFolderEndsEveryLevel) {
    machine.writeFile("D:\\t\\a\\deep.txt", "");
    machine.writeFile("D:\\t\\b\\never.txt", "");
    // Pass 1 of D:\t pumps twice for each of ".", "..", "a" and "b", pass 2
    // three times before it enters a: the quit arrives at a's first pump.
    for (int i = 0; i < 11; ++i) machine.fakeWindows().postMessage(WindowMessage{0, 0x200, 0, 0, 0, 0, 0});
    machine.fakeWindows().postQuit();
    EXPECT_EQ(walk("D:\\t\\*.*"), 0);
    for (const std::string& item : shownItems()) EXPECT_EQ(item.find("never"), std::string::npos) << item;
}

TEST_F(DirectoryWalkTest, StoppedScanStillPostsStatisticsAndSaysTerminated) {
    machine.writeFile("D:\\t\\a", "");
    machine.fakeWindows().postQuit();
    scanFolder("D:\\t");
    EXPECT_EQ(reportLines().at(0), "Scanning statistics");
    EXPECT_EQ(shownItems().back(), "Scanning terminated");
}

TEST_F(DirectoryWalkTest, OnePathPatternInTheMemoryScanOffersThatFileUnderItsOwnPath) {
    machine.writeFile("D:\\bin\\run.exe", "image");
    scanSession.inMemoryScan = 1;
    scanSession.foundInMemory = 1;
    walk("D:\\bin\\run.exe");
    EXPECT_EQ(scanSession.foundInMemory, 0);
    EXPECT_EQ(scanSession.filesScanned, 0);
    EXPECT_EQ(shownItems(), (std::vector<std::string>{"D:\\bin\\run.exe"}));
}

TEST_F(DirectoryWalkTest, APatternWithoutADotCannotBeSplit) {
    machine.writeFile("D:\\bin\\runner", "");
    EXPECT_EQ(walk("D:\\bin\\runner"), -1);
}

TEST_F(DirectoryWalkTest, EmptyTargetScansNothingAndStillReports) {
    machine.writeFile("D:\\t\\a", "");
    scanFolder("");
    EXPECT_TRUE(events("memory scan").empty());
    EXPECT_THAT(reportLines(), ElementsAre("Scanning statistics", "------------------------------",
                                           "Total files scanned\t\t:  0", "Total files infected\t\t:  0",
                                           "Total files removed\t\t:  0"));
    EXPECT_EQ(shownItems(), (std::vector<std::string>{"Scanning completed"}));
}

TEST_F(DirectoryWalkTest, AllDrivesMeansEveryFixedDriveFromCToZInOrder) {
    machine.addDrive('C');
    machine.addDrive('E');
    machine.addDrive('F', kDriveOptical);
    machine.addDrive('A');
    machine.addDrive('Z');
    machine.fakeFiles().setDriveType('D', kDriveRemote);
    for (const char* path : {"A:\\a.txt", "C:\\c.txt", "D:\\d.txt", "E:\\e.txt", "F:\\f.txt", "Z:\\z.txt"}) {
        machine.writeFile(path, "");
    }
    scanFolder("!:");
    EXPECT_EQ(events("memory scan").size(), 1u);
    std::vector<std::string> files;
    for (const std::string& item : shownItems()) {
        if (item.size() > 3 && item.substr(item.size() - 4) == ".txt") files.push_back(item);
    }
    EXPECT_THAT(files, ElementsAre("C:\\c.txt", "E:\\e.txt", "Z:\\z.txt"));
}

TEST_F(DirectoryWalkTest, LongPathsAreShownShortened) {
    const std::string folder = "D:\\" + std::string(70, 'f');
    machine.writeFile(folder + "\\x.exe", "");
    walk(folder + "\\*.*");
    const std::string full = folder + "\\x.exe";
    EXPECT_THAT(shownItems(), ::testing::Contains(full.substr(0, 29) + ".." + full.substr(full.size() - 29)));
}

// Each folder is listed once: the subdirectory pass goes through what the
// entry pass kept of the listing, pumping and entering subfolders just as a
// second listing of the unchanged folder would have it.
class SingleListingTest : public DirectoryWalkTest {
protected:
    SingleListingTest() { machine.faults().recordCalls(); }

    std::size_t listingsStarted() {
        const std::vector<fake::SeamCall>& calls = machine.faults().recordedCalls();
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), fake::SeamCall::kListDirectory));
    }

    // The entry pass of a folder: a pump before and after each shown entry.
    static std::vector<std::string> entryPass(const std::string& folder, const std::vector<std::string>& names) {
        std::vector<std::string> log;
        for (const std::string& name : names) {
            log.insert(log.end(), {"pump", "item: " + folder + "\\" + name, "pump"});
        }
        return log;
    }
    static std::vector<std::string> pumps(std::size_t count) { return std::vector<std::string>(count, "pump"); }
    static std::vector<std::string> joined(const std::vector<std::vector<std::string>>& parts) {
        std::vector<std::string> whole;
        for (const std::vector<std::string>& part : parts) whole.insert(whole.end(), part.begin(), part.end());
        return whole;
    }
};

TEST_F(SingleListingTest, ATreeOfSeveralLevelsIsWalkedInTheSameOrderWithTheSamePumps) {
    machine.writeFile("D:\\t\\a.txt", "");
    machine.writeFile("D:\\t\\b\\c.txt", "");
    machine.writeFile("D:\\t\\b\\d\\e.txt", "");
    machine.writeFile("D:\\t\\f.txt", "");
    machine.makeDirectory("D:\\t\\g");
    logEveryPump();

    EXPECT_EQ(walk("D:\\t\\*.*"), 4);

    // The subdirectory pass pumps once for each entry and enters a folder
    // at its own place in the listing: b after ".", ".." and a.txt; g after
    // f.txt, once b is done.
    EXPECT_EQ(eventLog, joined({entryPass("D:\\t", {".", "..", "a.txt", "b", "f.txt", "g"}),
                                pumps(4),
                                entryPass("D:\\t\\b", {".", "..", "c.txt", "d"}),
                                pumps(4),
                                entryPass("D:\\t\\b\\d", {".", "..", "e.txt"}),
                                pumps(3),
                                pumps(2),
                                entryPass("D:\\t\\g", {".", ".."}),
                                pumps(2)}));
    EXPECT_EQ(pumpsTaken(), 45u);
    EXPECT_EQ(listingsStarted(), 4u);  // t, b, d and g
}

TEST_F(SingleListingTest, AFileRemovedByTheEntryPassStillHasItsPumpButNoLineMore) {
    const ThreatSignature& signature = signatureTable[0];
    const std::vector<std::uint8_t> sample = buildSample(signature);
    machine.writeFile("D:\\t\\evil.exe", std::string(sample.begin(), sample.end()));
    machine.writeFile("D:\\t\\s\\x.txt", "");
    scanSession.userAction = kActionRemove;
    logEveryPump();

    walk("D:\\t\\*.*");

    ASSERT_FALSE(machine.fileExists("D:\\t\\evil.exe"));
    EXPECT_EQ(reportLines(),
              (std::vector<std::string>{"D:\\t\\evil.exe     " + std::string(threatNameOf(signature)) + " removed"}));
    EXPECT_EQ(shownItems(), (std::vector<std::string>{"D:\\t\\.", "D:\\t\\..", "D:\\t\\evil.exe", "D:\\t\\s",
                                                      "D:\\t\\s\\.", "D:\\t\\s\\..", "D:\\t\\s\\x.txt"}));
    // A second listing of t would have had three entries, not four: the
    // subdirectory pass pumps for the entries the entry pass listed.
    EXPECT_EQ(pumpsTaken(), 2 * 4 + 4 + 2 * 3 + 3u);
    EXPECT_EQ(listingsStarted(), 2u);
}

// A search that could not start, or broke off, in the entry pass is made
// again for the subdirectories, which a second search may still reach.
TEST_F(SingleListingTest, AFailedFirstSearchIsMadeAgainForTheSubdirectories) {
    for (const fake::SeamCall failing : {fake::SeamCall::kListDirectory, fake::SeamCall::kListingNext}) {
        SCOPED_TRACE(fake::seamCallName(failing));
        resetRecords();
        scanSession.filesScanned = 0;
        machine.writeFile("D:\\t\\y.txt", "");
        machine.writeFile("D:\\t\\s\\x.txt", "");
        machine.faults().recordCalls();
        machine.faults().failNext(failing);

        EXPECT_EQ(walk("D:\\t\\*.*"), 1);

        EXPECT_EQ(shownItems(), (std::vector<std::string>{"D:\\t\\s\\.", "D:\\t\\s\\..", "D:\\t\\s\\x.txt"}));
        EXPECT_EQ(listingsStarted(), 3u);  // t, t again, s
    }
}

// The memory scan's one file: its second search is a wider one
// ("D:\bin\run.*"), so it is still made.
TEST_F(SingleListingTest, TheMemoryScanStillSearchesTwice) {
    machine.writeFile("D:\\bin\\run.exe", "image");
    machine.writeFile("D:\\bin\\run.txt", "");
    scanSession.inMemoryScan = 1;
    walk("D:\\bin\\run.exe");
    EXPECT_EQ(shownItems(), (std::vector<std::string>{"D:\\bin\\run.exe"}));
    EXPECT_EQ(listingsStarted(), 2u);
}

// Program Files: the drive root notes the folder; a walk that never entered
// it under that exact spelling walks it once more on its own.
class ProgramFilesTest : public DirectoryWalkTest {
protected:
    int timesShown(const std::string& path) const {
        int count = 0;
        for (const std::string& item : shownItems()) count += item == path;
        return count;
    }
};

TEST_F(ProgramFilesTest, ExactSpellingIsEnteredOnceAndNeedsNoFollowUp) {
    machine.addDrive('C');
    machine.writeFile("C:\\Program Files\\app\\tool.exe", "");
    scanFolder("!:");
    EXPECT_EQ(timesShown("C:\\Program Files\\app\\tool.exe"), 1);
    EXPECT_EQ(scanSession.programFilesVisited, 1);
    EXPECT_EQ(scanSession.programFilesPending, 1);
}

TEST_F(ProgramFilesTest, OtherLetterCaseIsWalkedAgainByTheFollowUp) {
    machine.addDrive('C');
    machine.writeFile("C:\\PROGRAM FILES\\app\\tool.exe", "");
    scanFolder("!:");
    // First under its listed name, then under the probe's spelling.
    EXPECT_EQ(timesShown("C:\\PROGRAM FILES\\app\\tool.exe"), 1);
    EXPECT_EQ(timesShown("C:\\Program Files\\app\\tool.exe"), 1);
    EXPECT_EQ(scanSession.programFilesVisited, 1);
    EXPECT_EQ(scanSession.programFilesPending, 0);
    EXPECT_EQ(scanSession.filesScanned, 2);
}

TEST_F(ProgramFilesTest, OnceVisitedNoLaterDriveGetsAFollowUp) {
    machine.addDrive('C');
    machine.addDrive('E');
    machine.writeFile("C:\\PROGRAM FILES\\app\\a.exe", "");
    machine.writeFile("E:\\PROGRAM FILES\\b.exe", "");
    scanFolder("!:");
    EXPECT_EQ(timesShown("C:\\Program Files\\app\\a.exe"), 1);
    EXPECT_EQ(timesShown("E:\\PROGRAM FILES\\b.exe"), 1);
    EXPECT_EQ(timesShown("E:\\Program Files\\b.exe"), 0);
}

TEST_F(ProgramFilesTest, ADriveWithoutTheFolderLeavesThePendingFlagAlone) {
    scanSession.programFilesPending = 1;
    walk("D:\\*.*");
    EXPECT_EQ(scanSession.programFilesPending, 1);
    EXPECT_STREQ(scanSession.programFilesPath, "D:\\Program Files");
}

// Windows paths end at 259 characters: what would not fit is passed over.
class PathLimitTest : public DirectoryWalkTest {};

TEST_F(PathLimitTest, EntriesTooDeepForAPathArePassedOverAndTheWalkEnds) {
    std::string folder = "D:";
    while (folder.size() < 240) folder += "\\folder" + std::to_string(folder.size());
    machine.writeFile(folder + "\\far-too-long-a-name-to-fit-in-a-windows-path.exe", "");
    machine.writeFile("D:\\near.exe", "");
    scanFolder("D:");
    EXPECT_EQ(scanSession.filesScanned, 1);
    EXPECT_EQ(shownItems().back(), "Scanning completed");
}

TEST_F(PathLimitTest, TargetOfMoreThan255CharactersIsNotWalked) {
    const std::string target = "D:\\" + std::string(253, 't');
    scanFolder(target);
    EXPECT_EQ(scanSession.filesScanned, 0);
    EXPECT_EQ(reportLines().at(0), "Scanning statistics");
}

TEST_F(PathLimitTest, TargetOf255CharactersIsWalked) {
    const std::string target = "D:\\" + std::string(252, 't');
    machine.writeFile(target + "\\a", "");
    scanFolder(target);
    EXPECT_EQ(scanSession.filesScanned, 1);
}

// The end of the scan: the restart offer when a deletion waits.
class ScanEndTest : public DirectoryWalkTest {};

TEST_F(ScanEndTest, RestartIsOfferedOnlyWhenADeletionWaits) {
    scanFolder("D:");
    EXPECT_TRUE(events("dialog").empty());

    resetRecords();
    scanSession.rebootRequired = 1;
    frontEnd.answers = {kAnswerNo};
    scanFolder("D:");
    EXPECT_EQ(events("dialog"),
              (std::vector<std::string>{"Brisko Ver 1.0|The system has to be restarted to remove the virus "
                                        "completely from your system. \n\n Restart now?|36"}));
    EXPECT_EQ(actions.restartCalls, 0);

    resetRecords();
    frontEnd.answers = {kAnswerYes};
    scanFolder("D:");
    EXPECT_EQ(actions.restartCalls, 1);
}

TEST_F(ScanEndTest, RestartOfferFollowsTheStatistics) {
    scanSession.rebootRequired = 1;
    scanFolder("D:");
    const auto& log = eventLog;
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "item: Scanning completed");
    EXPECT_EQ(log.back().rfind("dialog: ", 0), 0u);
}

}  // namespace
}  // namespace brisko
