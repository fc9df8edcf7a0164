// The simulated process table: what running, ending and opening processes
// do to the machine's files and to the privileges asked for.
#include <gtest/gtest.h>

#include "platform/fake/fake_machine.h"

namespace brisko::fake {
namespace {

class FakeProcessesTest : public ::testing::Test {
protected:
    FakeProcessesTest() {
        machine.addDrive('C');
        machine.writeFile("C:\\app.exe", "app");
        machine.writeFile("C:\\data.dll", "dll");
    }
    std::unique_ptr<OpenedProcess> open(std::uint32_t id, std::uint32_t& lastError) {
        return processes.openProcess(id, kProcessTerminate, lastError);
    }

    FakeMachine machine;
    FakeProcesses& processes = machine.fakeProcesses();
};

TEST_F(FakeProcessesTest, EndingAProcessReleasesItsImageAndHeldFiles) {
    const std::uint32_t id = processes.start("C:\\app.exe");
    machine.fakeFiles().holdFile("C:\\data.dll", static_cast<int>(id));
    EXPECT_FALSE(machine.files().removeFile("C:\\app.exe"));
    EXPECT_FALSE(machine.files().removeFile("C:\\data.dll"));
    std::uint32_t lastError = 1;
    ASSERT_TRUE(open(id, lastError)->terminate(0));
    EXPECT_EQ(lastError, 0u);
    EXPECT_FALSE(processes.isRunning(id));
    EXPECT_TRUE(machine.files().removeFile("C:\\app.exe"));
    EXPECT_TRUE(machine.files().removeFile("C:\\data.dll"));
}

TEST_F(FakeProcessesTest, OpeningFailsAsWindowsTellsIt) {
    const std::uint32_t locked = processes.start("C:\\app.exe");
    processes.process(locked).refusesOpen = true;
    const std::uint32_t system = processes.start("");
    processes.process(system).needsDebugPrivilege = true;
    struct Case {
        std::uint32_t id;
        std::uint32_t error;
    };
    for (const Case c : {Case{locked, 5}, Case{system, 5}, Case{4242, 87}}) {
        SCOPED_TRACE(c.id);
        std::uint32_t lastError = 0;
        EXPECT_EQ(open(c.id, lastError), nullptr);
        EXPECT_EQ(lastError, c.error);
    }
    privileges().openOwnToken(kTokenAdjustPrivileges)->enablePrivilege("SeDebugPrivilege");
    std::uint32_t lastError = 0;
    EXPECT_NE(open(system, lastError), nullptr);
    EXPECT_EQ(processes.openings().size(), 4u);
}

TEST_F(FakeProcessesTest, ARefusingProcessKeepsRunningAndHandlesAreCounted) {
    const std::uint32_t id = processes.start("C:\\app.exe");
    processes.process(id).refusesTermination = true;
    std::uint32_t lastError = 0;
    {
        std::unique_ptr<OpenedProcess> handle = open(id, lastError);
        EXPECT_EQ(processes.openHandles(), 1);
        EXPECT_FALSE(handle->terminate(0));
        char path[8];
        EXPECT_EQ(handle->imagePath(path, sizeof path), 7u);
        EXPECT_STREQ(path, "C:\\app.");
    }
    EXPECT_EQ(processes.openHandles(), 0);
    EXPECT_TRUE(processes.isRunning(id));
}

TEST_F(FakeProcessesTest, ASnapshotKeepsTheProcessesOfItsMoment) {
    const std::uint32_t first = processes.start("C:\\app.exe");
    std::unique_ptr<ProcessSnapshot> snapshot = processes.snapshotProcesses();
    processes.end(first);
    processes.start("C:\\data.dll");
    SnapshotEntry entry{};
    ASSERT_TRUE(snapshot->first(entry));
    EXPECT_EQ(entry.processId, first);
    EXPECT_STREQ(entry.exeFile, "C:\\app.exe");
    EXPECT_FALSE(snapshot->next(entry));
}

TEST_F(FakeProcessesTest, PsapiFillsOnlyWhatFits) {
    for (int i = 0; i < 3; ++i) processes.start("");
    std::uint32_t ids[2] = {};
    std::uint32_t bytes = 0;
    ASSERT_TRUE(processes.listProcessIds(ids, sizeof ids, bytes));
    EXPECT_EQ(bytes, sizeof ids);
    processes.removePsapi();
    processes.removeToolHelp();
    EXPECT_FALSE(processes.listProcessIds(ids, sizeof ids, bytes));
    EXPECT_EQ(processes.snapshotProcesses(), nullptr);
}

}  // namespace
}  // namespace brisko::fake
