#include <gtest/gtest.h>

#include <string>

#include "cleanup/deferred_deletion.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using testing::ScanTest;

constexpr const char* kWininit = "C:\\WINDOWS\\wininit.ini";
constexpr const char* kCopy = "C:\\WINDOWS\\TEMP\\wininit.ini";
constexpr const char* kLocked = "C:\\Program Files\\Some App\\locked program.exe";

class DeferredDeletionTest : public ScanTest {
protected:
    DeferredDeletionTest() : ScanTest(testing::kStandInForMemoryScan) {
        machine.addWindowsInstallation();
        machine.writeFile(kLocked, "x");
        machine.writeFile("C:\\second.exe", "x");
    }

    void useWindows98() { machine.fakeControl().setVersion(kPlatformWindows, 4, 10); }
    void useWindowsXp() { machine.fakeControl().setVersion(kPlatformNt, 5, 1); }

    std::string shortPathOf(const char* path) {
        char shortPath[260];
        const unsigned length = files().shortPathName(path, shortPath, sizeof shortPath);
        EXPECT_GT(length, 0u);
        return shortPath;
    }
};

TEST_F(DeferredDeletionTest, On9xANewWininitHoldsTheShortPathEntryOnly) {
    useWindows98();
    EXPECT_EQ(scheduleDeletionAtRestart(context, kLocked), 1);
    const std::string shortPath = shortPathOf(kLocked);
    EXPECT_NE(shortPath, kLocked);
    EXPECT_EQ(machine.readFile(kWininit), "[rename]\r\nNUL=" + shortPath + "\r\n");
    EXPECT_TRUE(machine.fakeFiles().deletionsAtRestart().empty());
}

TEST_F(DeferredDeletionTest, On9xEntriesGoIntoTheExistingSectionInOrder) {
    useWindows98();
    const std::string before = "[Settings]\r\nA=1\r\n[rename]\r\nNUL=C:\\OLD.EXE\r\n\r\n[Other]\r\nB=2\r\n";
    machine.writeFile(kWininit, before);
    EXPECT_EQ(scheduleDeletionAtRestart(context, kLocked), 1);
    EXPECT_EQ(scheduleDeletionAtRestart(context, "C:\\second.exe"), 1);
    EXPECT_EQ(machine.readFile(kWininit), "[Settings]\r\nA=1\r\n[rename]\r\nNUL=C:\\OLD.EXE\r\n\r\nNUL=" +
                                              shortPathOf(kLocked) + "\r\nNUL=C:\\second.exe\r\n[Other]\r\nB=2\r\n");
    // The copy of the last rewrite stays in the temporary folder.
    EXPECT_EQ(machine.readFile(kCopy), "[Settings]\r\nA=1\r\n[rename]\r\nNUL=C:\\OLD.EXE\r\n\r\nNUL=" +
                                           shortPathOf(kLocked) + "\r\n[Other]\r\nB=2\r\n");
}

TEST_F(DeferredDeletionTest, OnNtTheFullPathIsRegisteredAndWininitLeftAlone) {
    useWindowsXp();
    EXPECT_EQ(scheduleDeletionAtRestart(context, kLocked), 1);
    EXPECT_EQ(machine.fakeFiles().deletionsAtRestart(), (std::vector<std::string>{kLocked}));
    EXPECT_FALSE(machine.fileExists(kWininit));

    machine.fakeFiles().refuseDeletingAtRestart("C:\\second.exe");
    EXPECT_EQ(scheduleDeletionAtRestart(context, "C:\\second.exe"), 0);
}

TEST_F(DeferredDeletionTest, OtherFamiliesArrangeNothing) {
    for (int failure = 0; failure < 2; ++failure) {
        SCOPED_TRACE(failure);
        if (failure == 0) {
            machine.fakeControl().failVersion();
        } else {
            machine.fakeControl().setVersion(3, 1);
        }
        EXPECT_EQ(scheduleDeletionAtRestart(context, kLocked), 0);
        EXPECT_FALSE(machine.fileExists(kWininit));
        EXPECT_TRUE(machine.fakeFiles().deletionsAtRestart().empty());
    }
}

// Each case on a machine of its own, set up before the fault is arranged.
TEST(DeferredDeletionFailureTest, WininitKeepsItsContentWhateverFails) {
    const std::string before = "[rename]\r\nNUL=C:\\OLD.EXE\r\n[Other]\r\n";
    struct Case {
        const char* what;
        void (*arrange)(fake::FakeMachine&);
    };
    const Case cases[] = {
        {"no short path", [](fake::FakeMachine& m) { m.fakeFiles().failShortPath(kLocked); }},
        {"no copy", [](fake::FakeMachine& m) { m.fakeFiles().failCopying(kWininit); }},
        {"a write stops midway", [](fake::FakeMachine& m) { m.fakeFiles().failWritingAfter(kWininit, 20); }},
        {"held by another program", [](fake::FakeMachine& m) { m.runProgramHolding(kWininit); }},
        {"a Windows folder too long for the path",
         [](fake::FakeMachine& m) { m.fakeSystem().setWindowsDirectory("C:\\" + std::string(360, 'w')); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeMachine machine;
        machine.addWindowsInstallation();
        machine.fakeControl().setVersion(kPlatformWindows, 4, 10);
        machine.writeFile(kLocked, "x");
        machine.writeFile(kWininit, before);
        c.arrange(machine);
        testing::EventLog log;
        testing::RecordingFrontEnd frontEnd(log);
        Scan scan(frontEnd);
        EXPECT_EQ(scheduleDeletionAtRestart(scan.context(), kLocked), 0);
        EXPECT_EQ(machine.readFile(kWininit), before);
    }
}

// When the rewrite fails and the old content cannot be put back either, the
// copy is the only whole wininit.ini left: it is named in the report and no
// later rewrite of the scan may overwrite it.
TEST_F(DeferredDeletionTest, AFailedRestoreKeepsTheCopyAndSchedulesNothingMore) {
    useWindows98();
    const std::string before = "[rename]\r\nNUL=C:\\OLD.EXE\r\n[Other]\r\nB=2\r\n";
    machine.writeFile(kWininit, before);
    machine.fakeFiles().failWritingAfter(kWininit, 20);
    machine.fakeFiles().failCopying(kCopy);

    EXPECT_EQ(scheduleDeletionAtRestart(context, kLocked), 0);
    EXPECT_EQ(scheduleDeletionAtRestart(context, "C:\\second.exe"), 0);
    EXPECT_EQ(machine.readFile(kCopy), before);
    EXPECT_EQ(reportLines(), (std::vector<std::string>{
                                 "C:\\WINDOWS\\wininit.ini     Unable to restore, its previous content is kept in "
                                 "C:\\WINDOWS\\TEMP\\wininit.ini"}));
}

// A wininit.ini larger than any the system writes (over 1 MiB) is left
// alone; one of exactly 1 MiB still takes the entry.
TEST_F(DeferredDeletionTest, AnOversizedWininitIsNotLoaded) {
    useWindows98();
    const std::string header = "[rename]\r\n";
    const std::size_t limit = 1024 * 1024;
    struct Case {
        const char* what;
        std::size_t length;
        int scheduled;
    };
    const Case cases[] = {
        {"exactly the limit", limit, 1},
        {"one byte over it", limit + 1, 0},
        {"far over it", header.size() + limit, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = header + std::string(c.length - header.size(), ';');
        machine.writeFile(kWininit, before);
        EXPECT_EQ(scheduleDeletionAtRestart(context, kLocked), c.scheduled);
        const std::string after = machine.readFile(kWininit);
        if (c.scheduled == 0) {
            EXPECT_EQ(after, before);
        } else {
            EXPECT_EQ(after.substr(0, before.size()), before);
            EXPECT_NE(after.find("NUL=" + shortPathOf(kLocked), before.size()), std::string::npos);
        }
    }
}

TEST_F(DeferredDeletionTest, AHalfWrittenNewWininitIsNotLeftBehind) {
    useWindows98();
    machine.fakeFiles().failWritingAfter(kWininit, 12);
    EXPECT_EQ(scheduleDeletionAtRestart(context, kLocked), 0);
    EXPECT_FALSE(machine.fileExists(kWininit));
}

}  // namespace
}  // namespace brisko
