#pragma once
// Performance data as the system lays it out (PERF_DATA_BLOCK, one
// PERF_OBJECT_TYPE, its PERF_COUNTER_DEFINITIONs and PERF_INSTANCE_DEFINITIONs
// each followed by its PERF_COUNTER_BLOCK), built from process instances, and
// the perflib Counters value naming the objects and counters it uses.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace brisko::fake {

// Index numbers of the English counter names, as on Windows.
constexpr std::uint32_t kProcessObjectIndex = 230;
constexpr std::uint32_t kIdProcessCounterIndex = 784;

struct PerformanceInstance {
    std::u16string name;
    std::uint32_t processId;
};

// The Process object with a "% Processor Time" counter before "ID Process",
// so the id does not sit at the start of the counter block.
std::vector<std::uint8_t> buildProcessPerformanceData(const std::vector<PerformanceInstance>& instances);

// The Counters multi-string: index, name, index, name, ..., empty string.
std::vector<std::uint8_t> buildCounterNames(const std::vector<std::pair<std::string, std::string>>& pairs);
// The pairs of a Windows installation that matter here.
std::vector<std::pair<std::string, std::string>> standardCounterNames();

}  // namespace brisko::fake
