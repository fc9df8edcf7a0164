#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "memscan/process_list.h"
#include "platform/fake/fake_machine.h"
#include "tests/support/failing_allocations.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

std::vector<std::pair<std::uint32_t, std::string>> entriesOf(const ProcessList& list) {
    std::vector<std::pair<std::uint32_t, std::string>> entries;
    for (const ProcessEntry& entry : list) entries.emplace_back(entry.processId, entry.imagePath);
    return entries;
}

class ProcessListsTest : public ::testing::Test {
protected:
    ProcessListsTest() {
        machine.addDrive('C');
        machine.writeFile("C:\\one.exe", "1");
        machine.writeFile("C:\\two.exe", "2");
    }

    fake::FakeMachine machine;
    fake::FakeProcesses& table = machine.fakeProcesses();
    ProcessList list;
};

TEST_F(ProcessListsTest, ToolHelpListsTheSnapshotInOrder) {
    table.startWithId(8, "C:\\two.exe");
    table.startWithId(4, "C:\\one.exe");
    table.process(4).snapshotName = "ONE.EXE";
    ASSERT_TRUE(listProcessesByToolHelp(list));
    EXPECT_THAT(entriesOf(list), ElementsAre(Pair(8u, "C:\\two.exe"), Pair(4u, "ONE.EXE")));
}

TEST_F(ProcessListsTest, NoListWithoutToolHelpOrProcesses) {
    EXPECT_FALSE(listProcessesByToolHelp(list));
    table.start("C:\\one.exe");
    table.removeToolHelp();
    EXPECT_FALSE(listProcessesByToolHelp(list));
}

// A list that cannot be made is no list: nothing half-built is scanned, and
// the program goes on.
TEST_F(ProcessListsTest, AListThatOutgrowsMemoryIsNoList) {
    for (int i = 0; i < 300; ++i) table.start("C:\\one.exe");
    struct Case {
        const char* name;
        bool (*make)(ProcessList&);
    };
    const Case cases[] = {
        {"Tool Help", [](ProcessList& l) { return listProcessesByToolHelp(l); }},
        {"PSAPI", [](ProcessList& l) { return listProcessesByPsapi(l, DebugPrivilegeStep::kNever); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.make(list));
        ASSERT_EQ(list.size(), 300u);
        ProcessList fresh;
        bool made = true;
        {
            testing::FailingLargeAllocations failing(64 * 1024);
            made = c.make(fresh);
            EXPECT_GT(failing.refused(), 0u);
        }
        EXPECT_FALSE(made);
        EXPECT_EQ(fresh.size(), 0u);
    }
    EXPECT_EQ(table.openHandles(), 0);
}

TEST_F(ProcessListsTest, PsapiListsProcessesWhosePathCanBeRead) {
    const std::uint32_t one = table.start("C:\\one.exe");
    table.start("");  // its image path cannot be read
    const std::uint32_t locked = table.start("C:\\two.exe");
    table.process(locked).refusesOpen = true;
    ASSERT_TRUE(listProcessesByPsapi(list, DebugPrivilegeStep::kOnRefusal));
    EXPECT_THAT(entriesOf(list), ElementsAre(Pair(one, "C:\\one.exe")));
    EXPECT_EQ(table.openHandles(), 0);
    for (const fake::ProcessOpening& opening : table.openings()) EXPECT_EQ(opening.access, 0x410u);
}

TEST_F(ProcessListsTest, TheDebugPrivilegeOpensRefusingProcesses) {
    const std::uint32_t system = table.start("C:\\one.exe");
    table.process(system).needsDebugPrivilege = true;

    ASSERT_TRUE(listProcessesByPsapi(list, DebugPrivilegeStep::kNever));
    EXPECT_THAT(list, IsEmpty());
    EXPECT_FALSE(machine.fakePrivileges().isEnabled("SeDebugPrivilege"));

    ASSERT_TRUE(listProcessesByPsapi(list, DebugPrivilegeStep::kOnRefusal));
    EXPECT_THAT(entriesOf(list), ElementsAre(Pair(system, "C:\\one.exe")));
    EXPECT_EQ(machine.fakePrivileges().openTokens(), 0);
    EXPECT_THAT(machine.fakeControl().systemMessages(), IsEmpty());
}

TEST_F(ProcessListsTest, AnUnopenableTokenIsAnnouncedEveryTime) {
    machine.fakePrivileges().refuseToken();
    for (const char* image : {"C:\\one.exe", "C:\\two.exe"}) {
        table.process(table.start(image)).needsDebugPrivilege = true;
    }
    const std::uint32_t plain = table.start("C:\\one.exe");
    ASSERT_TRUE(listProcessesByPsapi(list, DebugPrivilegeStep::kOnRefusal));
    EXPECT_THAT(entriesOf(list), ElementsAre(Pair(plain, "C:\\one.exe")));
    ASSERT_EQ(machine.fakeControl().systemMessages().size(), 2u);
    EXPECT_EQ(machine.fakeControl().systemMessages()[0].text, "false");
    EXPECT_EQ(machine.fakeControl().systemMessages()[0].caption, "TEMP");
    EXPECT_EQ(machine.fakeControl().systemMessages()[0].type, 0u);
}

TEST_F(ProcessListsTest, PsapiSeesOnlyTheFirst1024Processes) {
    for (int i = 0; i < 1030; ++i) table.start("");
    const std::uint32_t late = table.start("C:\\one.exe");
    ASSERT_TRUE(listProcessesByPsapi(list, DebugPrivilegeStep::kNever));
    EXPECT_THAT(list, IsEmpty());
    EXPECT_EQ(table.openings().size(), 1024u);
    table.end(late);
}

TEST_F(ProcessListsTest, NoPsapiListWithoutLibraryOrProcesses) {
    EXPECT_FALSE(listProcessesByPsapi(list, DebugPrivilegeStep::kNever));
    table.start("C:\\one.exe");
    table.removePsapi();
    EXPECT_FALSE(listProcessesByPsapi(list, DebugPrivilegeStep::kNever));
}

}  // namespace
}  // namespace brisko
