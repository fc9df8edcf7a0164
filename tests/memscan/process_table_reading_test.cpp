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

// The size left after "more data" means nothing for this data: the buffer
// grows from what it already holds, even when the call left 0 there.
TEST_F(ProcessTableReadingTest, GrowsPastTheSizeTheCallLeaves) {
    std::vector<fake::PerformanceInstance> instances;
    for (std::uint32_t id = 1; id <= 2000; ++id) instances.push_back({u"worker", id});
    const std::vector<std::uint8_t> block = fake::buildProcessPerformanceData(instances);
    ASSERT_GT(block.size(), 51200u + 2 * 25600u);
    registry.setPerformanceData(block);
    registry.growPerformanceDataFor(0, 0);
    readProcessNameTable(table);
    EXPECT_EQ(table.filled, 254u);
    EXPECT_LE(registry.performanceQueries(), 1 + (block.size() - 51200) / 25600 + 1);
}

// Data that never stops growing, or a size claim past reason, leaves the
// table empty after a bounded number of queries instead of spinning.
TEST(ProcessTableReadingLimitsTest, EndlessMoreDataGivesUpAfterBoundedTries) {
    const std::uint32_t sizesLeft[] = {0, 100, 0xFFFFFFF0u};
    for (const std::uint32_t sizeLeft : sizesLeft) {
        SCOPED_TRACE(sizeLeft);
        fake::FakeMachine machine;
        machine.fakeRegistry().growPerformanceDataFor(1000000, sizeLeft);
        ProcessNameTable table;
        readProcessNameTable(table);
        EXPECT_EQ(table.filled, 0u);
        EXPECT_LE(machine.fakeRegistry().performanceQueries(), 64u);
        EXPECT_EQ(machine.fakeRegistry().performanceDataOpen(), 0);
    }
}

// A Counters value claiming more than any system holds is not allocated.
TEST_F(ProcessTableReadingTest, AnOversizedCounterNamesValueIsNotRead) {
    const char* const perflib = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib\\009";
    std::vector<std::uint8_t> counters = fake::buildCounterNames(fake::standardCounterNames());
    counters.insert(counters.begin(), 17u * 1024 * 1024, 0);
    registry.setValue(perflib, "Counters", kRegistryMultiString, counters);
    readProcessNameTable(table);
    EXPECT_EQ(table.filled, 0u);
    EXPECT_EQ(registry.performanceQueries(), 0u);
    EXPECT_EQ(registry.openKeys(), 0);
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
