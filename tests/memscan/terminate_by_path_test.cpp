#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memscan/memory_scan.h"
#include "platform/fake/fake_machine.h"

namespace brisko {
namespace {

using ::testing::IsEmpty;

class TerminateByPathTest : public ::testing::Test {
protected:
    TerminateByPathTest() {
        machine.addDrive('C');
        for (const char* path : kImages) machine.writeFile(path, "image");
    }

    std::uint32_t run(const std::string& path) { return table.start(path); }
    bool running(std::uint32_t id) const { return table.isRunning(id); }
    const std::vector<fake::SystemMessage>& messages() { return machine.fakeControl().systemMessages(); }
    void expectCouldNotKill(const std::string& path) {
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Could not kill process");
        EXPECT_EQ(messages()[0].caption, path);
        EXPECT_EQ(messages()[0].type, 0u);
    }

    static constexpr const char* kImages[] = {"C:\\a\\note.exe", "C:\\b\\NOTE.EXE", "C:\\a\\notepad.exe",
                                              "C:\\a\\other.exe"};
    fake::FakeMachine machine;
    fake::FakeProcesses& table = machine.fakeProcesses();
};

TEST_F(TerminateByPathTest, On9xEndsOnlyTheFirstProcessWithTheFileName) {
    machine.fakeControl().setVersion(kPlatformWindows, 4);
    const std::uint32_t other = run("C:\\a\\other.exe");
    const std::uint32_t first = run("C:\\b\\NOTE.EXE");
    const std::uint32_t second = run("C:\\a\\note.exe");
    EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 1);
    EXPECT_FALSE(running(first));
    EXPECT_TRUE(running(second));
    EXPECT_TRUE(running(other));
    EXPECT_THAT(messages(), IsEmpty());
    EXPECT_EQ(table.openings().back().access, 0x401u);
}

TEST_F(TerminateByPathTest, On9xAProcessNotEndedIsAnnounced) {
    machine.fakeControl().setVersion(kPlatformWindows, 4);
    table.process(run("C:\\a\\note.exe")).refusesTermination = true;
    EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 0);
    expectCouldNotKill("C:\\a\\note.exe");
    EXPECT_EQ(table.openHandles(), 0);
}

TEST_F(TerminateByPathTest, On9xNoMatchingProcessIsAFailure) {
    machine.fakeControl().setVersion(kPlatformWindows, 4);
    run("C:\\a\\other.exe");
    EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 0);
    expectCouldNotKill("C:\\a\\note.exe");
}

TEST_F(TerminateByPathTest, OnNt5EndsEveryProcessWithTheWholePath) {
    machine.fakeControl().setVersion(kPlatformNt, 5);
    const std::uint32_t one = run("C:\\a\\note.exe");
    const std::uint32_t elsewhere = run("C:\\b\\NOTE.EXE");
    const std::uint32_t two = run("C:\\a\\note.exe");
    table.process(two).imagePath = "C:\\A\\NOTE.EXE";
    EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 1);
    EXPECT_FALSE(running(one));
    EXPECT_FALSE(running(two));
    EXPECT_TRUE(running(elsewhere));
    EXPECT_EQ(machine.fakeSystem().sleptMilliseconds(), 1000u);
}

TEST_F(TerminateByPathTest, OnNt5AProcessNotEndedIsNotAFailure) {
    machine.fakeControl().setVersion(kPlatformNt, 5);
    table.process(run("C:\\a\\note.exe")).refusesTermination = true;
    EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 1);
    EXPECT_THAT(messages(), IsEmpty());
    EXPECT_EQ(table.openHandles(), 0);
}

TEST_F(TerminateByPathTest, OnOtherNtVersionsEndsEveryInstanceNameWithTheBaseName) {
    for (std::uint32_t major : {4u, 6u}) {
        SCOPED_TRACE(major);
        fake::FakeMachine fresh;
        fresh.addDrive('C');
        fresh.fakeControl().setVersion(kPlatformNt, major);
        for (const char* path : kImages) fresh.writeFile(path, "image");
        fake::FakeProcesses& processes = fresh.fakeProcesses();
        const std::uint32_t note = processes.start("C:\\b\\NOTE.EXE");
        const std::uint32_t notepad = processes.start("C:\\a\\notepad.exe");
        const std::uint32_t other = processes.start("C:\\a\\other.exe");
        EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 1);
        EXPECT_FALSE(processes.isRunning(note));
        EXPECT_FALSE(processes.isRunning(notepad));
        EXPECT_TRUE(processes.isRunning(other));
        EXPECT_EQ(processes.openings().back().access, kProcessTerminate);
        EXPECT_EQ(processes.openHandles(), 0);
    }
}

TEST_F(TerminateByPathTest, OnOtherNtVersionsAFailureIsAnnounced) {
    machine.fakeControl().setVersion(kPlatformNt, 4);
    const std::uint32_t other = run("C:\\a\\other.exe");
    struct Case {
        const char* path;
        const char* why;
    };
    const Case cases[] = {
        {"C:\\a\\note.exe", "no such process"},
        {".exe", "four characters or fewer"},
        {"C:\\a\\.exe", "an empty base name, which would begin every name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::size_t before = messages().size();
        EXPECT_EQ(terminateByPath(c.path), 0);
        ASSERT_EQ(messages().size(), before + 1);
        EXPECT_EQ(messages().back().caption, c.path);
        EXPECT_TRUE(running(other));
    }
}

TEST_F(TerminateByPathTest, OtherFamiliesEndNothingAndSucceed) {
    const std::uint32_t note = run("C:\\a\\note.exe");
    for (std::uint32_t platformId : {kPlatformWin32s, 3u}) {
        machine.fakeControl().setVersion(platformId, 4);
        EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 1);
    }
    machine.fakeControl().failVersion();
    EXPECT_EQ(terminateByPath("C:\\a\\note.exe"), 1);
    EXPECT_TRUE(running(note));
    EXPECT_THAT(table.openings(), IsEmpty());
}

}  // namespace
}  // namespace brisko
