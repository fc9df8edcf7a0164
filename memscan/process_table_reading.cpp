// The registry side of the process name table: the English counter names
// from perflib, then the performance data of the Process object.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "memscan/process_name_table.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr const char* kPerflibKey = "software\\microsoft\\windows nt\\currentversion\\perflib";
constexpr unsigned kEnglishLanguage = 9;
// The names of every counter of a large server fill well under a megabyte;
// a larger claim is taken as unreadable rather than allocated.
constexpr std::uint32_t kCountersSizeLimit = 16u * 1024 * 1024;
constexpr std::uint32_t kFirstDataSize = 51200;
constexpr std::uint32_t kDataSizeStep = 25600;
// The Process object of a busy machine fits a few hundred kilobytes; past
// these the data is taken as unreadable, as if the buffer could not grow.
constexpr unsigned kDataQueryLimit = 64;
constexpr std::uint32_t kDataSizeLimit = 16u * 1024 * 1024;

bool readCounterNames(ProcessCounterNames& names) {
    char keyName[128];
    std::snprintf(keyName, sizeof keyName, "%s\\%03x", kPerflibKey, kEnglishLanguage);
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyRead, RegistryView::kDefault, key) != kErrorSuccess) return false;
    std::uint32_t size = 0;
    if (key->queryValue("Counters", nullptr, nullptr, size) != kErrorSuccess) return false;
    if (size > kCountersSizeLimit) return false;
    std::vector<char> counters(size, '\0');
    if (key->queryValue("Counters", nullptr, reinterpret_cast<std::uint8_t*>(counters.data()), size) !=
        kErrorSuccess) {
        return false;
    }
    names = findProcessCounterNames(counters.data(), std::min<std::size_t>(size, counters.size()));
    return names.hasObject && names.hasIdProcess;
}

// The data block, in a buffer grown until it fits; empty when unreadable.
std::vector<std::uint8_t> readPerformanceData(const char* objectIndex, std::uint32_t& returned) {
    std::vector<std::uint8_t> data(kFirstDataSize, 0);
    for (unsigned query = 0; query < kDataQueryLimit; ++query) {
        returned = static_cast<std::uint32_t>(data.size());
        const RegistryStatus status = registry().queryPerformanceData(objectIndex, data.data(), returned);
        if (status == kErrorSuccess) return data;
        if (status != kErrorMoreData) return {};
        // What the call leaves in the size after "more data" is not defined
        // for performance data: never let it shrink the buffer.
        const std::uint64_t grown = std::max<std::uint64_t>(returned, data.size()) + kDataSizeStep;
        if (grown > kDataSizeLimit) return {};
        data.assign(static_cast<std::size_t>(grown), 0);
    }
    return {};
}

void fillTable(ProcessNameTable& table) {
    ProcessCounterNames names{};
    if (!readCounterNames(names)) return;
    std::uint32_t returned = 0;
    const std::vector<std::uint8_t> data = readPerformanceData(names.objectIndex, returned);
    if (data.empty() || returned == 0) return;
    parseProcessNameTable(data.data(), std::min<std::size_t>(returned, data.size()), names.idProcessIndex,
                          [](const std::uint16_t* text, char* buffer, unsigned capacity) {
                              return systemControl().convertWideText(text, buffer, capacity);
                          },
                          table);
}

}  // namespace

void readProcessNameTable(ProcessNameTable& table) {
    table = ProcessNameTable{};
    try {
        fillTable(table);
    } catch (const std::bad_alloc&) {
        // A buffer that cannot be had leaves the table empty.
        table = ProcessNameTable{};
    }
    registry().closePerformanceData();
}

}  // namespace brisko
