// The pure readers of the performance data: the counter names and the
// Process object, on blocks laid out as the system lays them out, then
// damaged. Blocks live in vectors of their exact size, so any read outside
// them shows under the address sanitizer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memscan/process_name_table.h"
#include "platform/fake/fake_performance_data.h"

namespace brisko {
namespace {

using fake::PerformanceInstance;

constexpr std::uint32_t kIdProcess = fake::kIdProcessCounterIndex;

int asciiOnly(const std::uint16_t* text, char* buffer, unsigned capacity) {
    for (unsigned i = 0; i < capacity; ++i) {
        if (text[i] >= 0x80) return 0;
        buffer[i] = static_cast<char>(text[i]);
        if (text[i] == 0) return static_cast<int>(i + 1);
    }
    return 0;
}

std::uint32_t get32(const std::vector<std::uint8_t>& block, std::size_t at) {
    return block[at] | block[at + 1] << 8 | block[at + 2] << 16 | static_cast<std::uint32_t>(block[at + 3]) << 24;
}

void set32(std::vector<std::uint8_t>& block, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

ProcessNameTable parse(const std::vector<std::uint8_t>& block, std::size_t size) {
    ProcessNameTable table;
    parseProcessNameTable(block.data(), size, kIdProcess, asciiOnly, table);
    return table;
}

ProcessNameTable parse(const std::vector<std::uint8_t>& block) { return parse(block, block.size()); }

const std::vector<PerformanceInstance> kThree = {{u"Idle", 0}, {u"NOTEPAD", 1234}, {u"_Total", 0}};

TEST(ProcessTableParserTest, ReadsNamesAndIdsInOrder) {
    const ProcessNameTable table = parse(fake::buildProcessPerformanceData(kThree));
    ASSERT_EQ(table.filled, 3u);
    EXPECT_STREQ(table.slots[0].instanceName, "Idle");
    EXPECT_EQ(table.slots[0].processId, kIdleProcessId);
    EXPECT_STREQ(table.slots[1].instanceName, "NOTEPAD");
    EXPECT_EQ(table.slots[1].processId, 1234u);
    EXPECT_EQ(table.slots[2].processId, kIdleProcessId);
    EXPECT_EQ(table.slots[3].processId, 0u);
}

TEST(ProcessTableParserTest, NamesAreKeptOnlyUpToSixteenCharacters) {
    struct Case {
        std::u16string name;
        const char* stored;
    };
    const Case cases[] = {
        {u"abcdefghijklmnop", "abcdefghijklmnop"},
        {u"abcdefghijklmnopq", ""},
        {u"caf\u00e9", "unknown"},
        {u"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const ProcessNameTable table = parse(fake::buildProcessPerformanceData({{c.name, 7}}));
        ASSERT_EQ(table.filled, 1u);
        EXPECT_STREQ(table.slots[0].instanceName, c.stored);
        EXPECT_EQ(table.slots[0].processId, 7u);
    }
}

TEST(ProcessTableParserTest, TakesAtMost254Instances) {
    std::vector<PerformanceInstance> many;
    for (std::uint32_t id = 1; id <= 300; ++id) many.push_back({u"p" + std::u16string(1, u'a' + id % 26), id});
    const ProcessNameTable table = parse(fake::buildProcessPerformanceData(many));
    EXPECT_EQ(table.filled, 254u);
    EXPECT_EQ(table.slots[253].processId, 254u);
    EXPECT_EQ(table.slots[254].processId, 0u);
}

TEST(ProcessTableParserTest, DamagedBlocksGiveAnEmptyTable) {
    const std::vector<std::uint8_t> good = fake::buildProcessPerformanceData(kThree);
    const std::uint32_t object = get32(good, 24);
    const std::uint32_t counters = object + get32(good, object + 8);
    const std::uint32_t firstInstance = object + get32(good, object + 4);
    const std::uint32_t idCounter = counters + 40;  // the second definition
    struct Patch {
        std::size_t at;
        std::uint32_t value;
    };
    struct Case {
        const char* name;
        std::vector<Patch> patches;
    };
    const Case cases[] = {
        {"no PERF signature", {{0, 0x00450051}}},
        {"object header beyond the block", {{24, 0xFFFFFFF0}}},
        {"no ID Process counter", {{idCounter + 4, 999}}},
        {"counter definitions beyond the block", {{object + 8, 0x7FFFFFFF}}},
        {"countless counters without ID Process", {{idCounter + 4, 999}, {object + 32, 0xFFFFFFFF}}},
        {"no instances (PERF_NO_INSTANCES)", {{object + 40, 0xFFFFFFFF}}},
        {"more instances than the block holds", {{object + 40, 4}}},
        {"instances beyond the block", {{object + 4, 0xFFFFFF00}}},
        {"name beyond the block", {{firstInstance + 16, 0x80000000}}},
        {"counter block beyond the block", {{firstInstance, 0xFFFFFFF8}}},
        {"process id beyond the counter block", {{idCounter + 36, 0xFFFFFFFC}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bad = good;
        for (const Patch& patch : c.patches) set32(bad, patch.at, patch.value);
        EXPECT_EQ(parse(bad).filled, 0u);
    }
}

TEST(ProcessTableParserTest, ACutBlockIsReadWhollyOrNotAtAll) {
    const std::vector<std::uint8_t> good = fake::buildProcessPerformanceData(kThree);
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        // Exactly size bytes, so a read past them is caught.
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        const unsigned filled = parse(cut).filled;
        EXPECT_TRUE(filled == 0 || filled == 3) << filled;
    }
}

TEST(ProcessCounterNamesTest, FindsTheProcessObjectAndItsIdCounter) {
    struct Case {
        const char* name;
        std::string counters;
        const char* objectIndex;
        std::uint32_t idIndex;
    };
    using std::string_literals::operator""s;
    const Case cases[] = {
        {"standard", "1\0" "1847\0" "230\0Process\0" "784\0ID Process\0\0"s, "230", 784},
        {"any case", "230\0PROCESS\0" "784\0id process\0\0"s, "230", 784},
        {"a later name wins", "230\0Process\0" "784\0ID Process\0" "9230\0Process\0" "9784\0ID Process\0\0"s,
         "9230", 9784},
        {"nothing after the empty string", "2\0System\0\0" "230\0Process\0\0"s, "", 0},
        {"no process", "2\0System\0" "784\0ID Process\0\0"s, "", 784},
        {"unterminated", "230\0Process\0" "784\0ID Process"s, "230", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProcessCounterNames found = findProcessCounterNames(c.counters.data(), c.counters.size());
        EXPECT_STREQ(found.objectIndex, c.objectIndex);
        EXPECT_EQ(found.hasObject, c.objectIndex[0] != '\0');
        EXPECT_EQ(found.idProcessIndex, c.idIndex);
        EXPECT_EQ(found.hasIdProcess, c.idIndex != 0);
    }
}

}  // namespace
}  // namespace brisko
