#pragma once
// The process name table read from the system's performance data: for the
// NT versions without a usable PSAPI path comparison, processes are found
// by the instance name of their Process object instance.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace brisko {

constexpr unsigned kProcessNameSlots = 255;
constexpr unsigned kFilledSlotLimit = 254;
constexpr unsigned kInstanceNameLimit = 16;
// The id stored for an instance whose ID Process counter reads 0.
constexpr std::uint32_t kIdleProcessId = 0xFFFFFFFE;

struct ProcessNameSlot {
    std::uint32_t processId;
    // "unknown" when the name cannot be converted; empty when the converted
    // name is longer than 16 characters.
    char instanceName[kInstanceNameLimit + 1];
};

struct ProcessNameTable {
    ProcessNameSlot slots[kProcessNameSlots];
    unsigned filled;
};

// What the perflib Counters value tells about the Process object.
struct ProcessCounterNames {
    // The index of the Process object as the text to query it by ("230").
    char objectIndex[16];
    bool hasObject;
    std::uint32_t idProcessIndex;
    bool hasIdProcess;
};

// Reads the Counters multi-string (index, name, index, name, ..., empty
// string) within size bytes; the last "process" and "id process" names win.
ProcessCounterNames findProcessCounterNames(const char* counters, std::size_t size);

// Converts a terminated UTF-16 text to the system code page: the bytes
// written with the terminator, 0 on failure.
using WideTextConverter = std::function<int(const std::uint16_t* text, char* buffer, unsigned capacity)>;

// Fills the table from a performance data block of size bytes whose first
// object is the Process object. Anything missing, or any offset or count
// that leads outside the block, leaves the table empty.
void parseProcessNameTable(const std::uint8_t* block, std::size_t size, std::uint32_t idProcessIndex,
                           const WideTextConverter& convert, ProcessNameTable& table);

// Reads the counter names and the performance data through the registry
// and fills the table; empty whenever something cannot be read.
void readProcessNameTable(ProcessNameTable& table);

}  // namespace brisko
