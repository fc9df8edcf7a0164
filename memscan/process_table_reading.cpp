// The registry side of the process name table: the English counter names
// from perflib, then the performance data of the Process object.
#include <cstdio>
#include <memory>
#include <vector>

#include "memscan/process_name_table.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr const char* kPerflibKey = "software\\microsoft\\windows nt\\currentversion\\perflib";
constexpr unsigned kEnglishLanguage = 9;
constexpr std::uint32_t kFirstDataSize = 51200;
constexpr std::uint32_t kDataSizeStep = 25600;
// Beyond this the data is taken as unreadable, as if the buffer could not
// grow: the system never needs as much for its process list.
constexpr std::uint32_t kDataSizeLimit = 64u * 1024 * 1024;

bool readCounterNames(ProcessCounterNames& names) {
    char keyName[128];
    std::snprintf(keyName, sizeof keyName, "%s\\%03x", kPerflibKey, kEnglishLanguage);
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyRead, key) != kErrorSuccess) return false;
    std::uint32_t size = 0;
    if (key->queryValue("Counters", nullptr, nullptr, size) != kErrorSuccess) return false;
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
    returned = static_cast<std::uint32_t>(data.size());
    RegistryStatus status = registry().queryPerformanceData(objectIndex, data.data(), returned);
    while (status == kErrorMoreData) {
        // The size as the call left it, not what it would need.
        if (returned > kDataSizeLimit - kDataSizeStep) return {};
        data.assign(returned + kDataSizeStep, 0);
        returned = static_cast<std::uint32_t>(data.size());
        status = registry().queryPerformanceData(objectIndex, data.data(), returned);
    }
    if (status != kErrorSuccess) return {};
    return data;
}

}  // namespace

void readProcessNameTable(ProcessNameTable& table) {
    table = ProcessNameTable{};
    ProcessCounterNames names{};
    if (!readCounterNames(names)) return;
    std::uint32_t returned = 0;
    const std::vector<std::uint8_t> data = readPerformanceData(names.objectIndex, returned);
    if (!data.empty() && returned > 0) {
        parseProcessNameTable(data.data(), std::min<std::size_t>(returned, data.size()), names.idProcessIndex,
                              [](const std::uint16_t* text, char* buffer, unsigned capacity) {
                                  return systemControl().convertWideText(text, buffer, capacity);
                              },
                              table);
    }
    registry().closePerformanceData();
}

}  // namespace brisko
