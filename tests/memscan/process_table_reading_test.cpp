// The process name table read end to end: counter names and performance
// data from the simulated machine's registry, built from its process table.
#include <gtest/gtest.h>

#include "memscan/process_name_table.h"
#include "platform/fake/fake_machine.h"
#include "platform/fake/fake_performance_data.h"

namespace brisko {
namespace {

class ProcessTableReadingTest : public ::testing::Test {
protected:
    ProcessTableReadingTest() {
        machine.addDrive('C');
        machine.writeFile("C:\\apps\\notepad.exe", "n");
    }
    fake::FakeMachine machine;
    fake::FakeRegistry& registry = machine.fakeRegistry();
    ProcessNameTable table;
};

TEST_F(ProcessTableReadingTest, ListsTheRunningProcesses) {
    const std::uint32_t id = machine.fakeProcesses().start("C:\\apps\\notepad.exe");
    readProcessNameTable(table);
    ASSERT_EQ(table.filled, 3u);
    EXPECT_STREQ(table.slots[1].instanceName, "notepad");
    EXPECT_EQ(table.slots[1].processId, id);
    EXPECT_EQ(registry.openKeys(), 0);
    EXPECT_EQ(registry.performanceDataOpen(), 0);
}

TEST_F(ProcessTableReadingTest, GrowsTheBufferUntilTheDataFits) {
    machine.fakeProcesses().start("C:\\apps\\notepad.exe");
    registry.growPerformanceDataFor(3);
    readProcessNameTable(table);
    EXPECT_EQ(registry.performanceQueries(), 4u);
    EXPECT_EQ(table.filled, 3u);
}

TEST_F(ProcessTableReadingTest, StaysEmptyWhenNamesOrDataAreMissing) {
    const char* const perflib = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib\\009";
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> counters;
    };
    const Case cases[] = {
        {"no Process object", {{"2", "System"}, {"784", "ID Process"}}},
        {"no ID Process counter", {{"2", "System"}, {"230", "Process"}}},
        {"the object under another index", {{"231", "Process"}, {"784", "ID Process"}}},
    };
    machine.fakeProcesses().start("C:\\apps\\notepad.exe");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registry.setValue(perflib, "Counters", kRegistryMultiString, fake::buildCounterNames(c.counters));
        readProcessNameTable(table);
        EXPECT_EQ(table.filled, 0u);
        EXPECT_EQ(registry.openKeys(), 0);
    }
    registry.denyAccess(perflib);
    readProcessNameTable(table);
    EXPECT_EQ(table.filled, 0u);
}

}  // namespace
}  // namespace brisko
