// The Process object of a performance data block, read with every offset
// and count checked against the block: the data comes from the system, but
// a damaged or hostile block must never make us read outside it.
#include <cstring>
#include <vector>

#include "base/little_endian.h"
#include "memscan/process_name_table.h"

namespace brisko {
namespace {

// Offsets in the published layouts of PERF_DATA_BLOCK, PERF_OBJECT_TYPE,
// PERF_COUNTER_DEFINITION, PERF_INSTANCE_DEFINITION and PERF_COUNTER_BLOCK.
constexpr std::uint64_t kBlockHeaderLength = 24;
constexpr std::uint64_t kObjectDefinitionLength = 4;
constexpr std::uint64_t kObjectHeaderLength = 8;
constexpr std::uint64_t kObjectNumCounters = 32;
constexpr std::uint64_t kObjectNumInstances = 40;
constexpr std::uint64_t kCounterNameTitleIndex = 4;
constexpr std::uint64_t kCounterOffset = 36;
// Every counter definition is taken as this long, whatever it says.
constexpr std::uint64_t kCounterDefinitionLength = 40;
constexpr std::uint64_t kInstanceNameOffset = 16;
constexpr std::uint32_t kNoInstances = 0xFFFFFFFF;
constexpr unsigned kConversionCapacity = 260;

class BlockReader {
public:
    BlockReader(const std::uint8_t* block, std::size_t size) : block_(block), size_(size) {}

    // The little-endian value at offset; false when it is not wholly inside.
    bool read32(std::uint64_t offset, std::uint32_t& value) const {
        if (offset > size_ || size_ - offset < 4) return false;
        value = readLittle32(block_ + offset);
        return true;
    }

    // The terminated UTF-16 text at offset, terminator included; false when
    // it does not end inside the block.
    bool readWideText(std::uint64_t offset, std::vector<std::uint16_t>& text) const {
        text.clear();
        for (std::uint64_t at = offset; at <= size_ && size_ - at >= 2; at += 2) {
            const std::uint16_t unit = readLittle16(block_ + at);
            text.push_back(unit);
            if (unit == 0) return true;
        }
        return false;
    }

    bool startsWithPerf() const {
        static const std::uint8_t kSignature[] = {'P', 0, 'E', 0, 'R', 0, 'F', 0};
        return size_ >= sizeof kSignature && std::memcmp(block_, kSignature, sizeof kSignature) == 0;
    }

private:
    const std::uint8_t* block_;
    std::size_t size_;
};

void nameSlot(const std::vector<std::uint16_t>& name, const WideTextConverter& convert, ProcessNameSlot& slot) {
    char converted[kConversionCapacity] = {};
    if (convert(name.data(), converted, sizeof converted) == 0) {
        std::strcpy(slot.instanceName, "unknown");
        return;
    }
    converted[sizeof converted - 1] = '\0';
    // A longer name stays empty rather than cut: it could match wrongly.
    if (std::strlen(converted) <= kInstanceNameLimit) std::strcpy(slot.instanceName, converted);
}

// Finds the offset of the process id within each counter block.
bool findIdOffset(const BlockReader& reader, std::uint64_t object, std::uint32_t idProcessIndex,
                  std::uint32_t& idOffset) {
    std::uint32_t headerLength = 0;
    std::uint32_t counters = 0;
    if (!reader.read32(object + kObjectHeaderLength, headerLength) ||
        !reader.read32(object + kObjectNumCounters, counters)) {
        return false;
    }
    for (std::uint64_t i = 0; i < counters; ++i) {
        const std::uint64_t definition = object + headerLength + i * kCounterDefinitionLength;
        std::uint32_t nameIndex = 0;
        if (!reader.read32(definition + kCounterNameTitleIndex, nameIndex)) return false;
        if (nameIndex == idProcessIndex) return reader.read32(definition + kCounterOffset, idOffset);
    }
    return false;
}

bool fillTable(const BlockReader& reader, std::uint32_t idProcessIndex, const WideTextConverter& convert,
               ProcessNameTable& table) {
    if (!reader.startsWithPerf()) return false;
    std::uint32_t object = 0;
    if (!reader.read32(kBlockHeaderLength, object)) return false;
    std::uint32_t idOffset = 0;
    if (!findIdOffset(reader, object, idProcessIndex, idOffset)) return false;
    std::uint32_t instances = 0;
    std::uint32_t definitionLength = 0;
    if (!reader.read32(object + kObjectNumInstances, instances) ||
        !reader.read32(object + kObjectDefinitionLength, definitionLength)) {
        return false;
    }
    if (instances == kNoInstances) return false;
    const std::uint32_t count = instances < kFilledSlotLimit ? instances : kFilledSlotLimit;

    std::uint64_t instance = static_cast<std::uint64_t>(object) + definitionLength;
    std::vector<std::uint16_t> name;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t instanceLength = 0;
        std::uint32_t nameOffset = 0;
        if (!reader.read32(instance, instanceLength) || !reader.read32(instance + kInstanceNameOffset, nameOffset) ||
            !reader.readWideText(instance + nameOffset, name)) {
            return false;
        }
        const std::uint64_t counterBlock = instance + instanceLength;
        std::uint32_t blockLength = 0;
        std::uint32_t processId = 0;
        if (!reader.read32(counterBlock, blockLength) || !reader.read32(counterBlock + idOffset, processId)) {
            return false;
        }
        ProcessNameSlot& slot = table.slots[i];
        nameSlot(name, convert, slot);
        slot.processId = processId == 0 ? kIdleProcessId : processId;
        table.filled = i + 1;
        instance = counterBlock + blockLength;
    }
    return true;
}

}  // namespace

void parseProcessNameTable(const std::uint8_t* block, std::size_t size, std::uint32_t idProcessIndex,
                           const WideTextConverter& convert, ProcessNameTable& table) {
    table = ProcessNameTable{};
    if (!fillTable(BlockReader(block, size), idProcessIndex, convert, table)) table = ProcessNameTable{};
}

}  // namespace brisko
