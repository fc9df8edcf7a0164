#include "platform/fake/fake_performance_data.h"

namespace brisko::fake {
namespace {

constexpr std::uint32_t kDataBlockSize = 88;
constexpr std::uint32_t kObjectTypeSize = 64;
constexpr std::uint32_t kCounterDefinitionSize = 40;
constexpr std::uint32_t kInstanceDefinitionSize = 24;
constexpr std::uint32_t kProcessorTimeIndex = 6;
// The counter block: its length, 4 bytes of padding, the processor time
// (8 bytes), the process id (4 bytes) and 4 bytes of padding.
constexpr std::uint32_t kProcessorTimeOffset = 8;
constexpr std::uint32_t kIdProcessOffset = 16;
constexpr std::uint32_t kCounterBlockSize = 24;

class Writer {
public:
    std::uint32_t size() const { return static_cast<std::uint32_t>(bytes_.size()); }
    void put32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    void set32(std::uint32_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void zeros(std::uint32_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void alignTo8() { zeros((8 - size() % 8) % 8); }
    void putUnits(const std::u16string& text) {
        for (char16_t unit : text) {
            bytes_.push_back(static_cast<std::uint8_t>(unit));
            bytes_.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
    }
    void putWide(const std::u16string& text) {
        putUnits(text);
        zeros(2);
    }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

void putCounterDefinition(Writer& out, std::uint32_t nameIndex, std::uint32_t size, std::uint32_t offset) {
    out.put32(kCounterDefinitionSize);
    out.put32(nameIndex);
    out.zeros(24);  // name and help titles, scale, detail level, type
    out.put32(size);
    out.put32(offset);
}

}  // namespace

std::vector<std::uint8_t> buildProcessPerformanceData(const std::vector<PerformanceInstance>& instances) {
    Writer out;
    // PERF_DATA_BLOCK, then the system's name.
    out.putUnits(u"PERF");  // the signature, without a terminator
    out.put32(1);  // LittleEndian
    out.put32(1);  // Version
    out.put32(1);  // Revision
    const std::uint32_t totalLengthAt = out.size();
    out.put32(0);
    const std::uint32_t headerLengthAt = out.size();
    out.put32(0);
    out.put32(1);                    // NumObjectTypes
    out.put32(kProcessObjectIndex);  // DefaultObject
    out.zeros(16 + 4 + 24);          // SystemTime, padding, the three times
    const std::uint32_t nameLengthAt = out.size();
    out.put32(0);
    out.put32(kDataBlockSize);  // SystemNameOffset
    const std::u16string systemName = u"FAKEMACHINE";
    out.putWide(systemName);
    out.set32(nameLengthAt, static_cast<std::uint32_t>((systemName.size() + 1) * 2));
    out.alignTo8();
    out.set32(headerLengthAt, out.size());

    // PERF_OBJECT_TYPE of the Process object.
    const std::uint32_t object = out.size();
    out.put32(0);  // TotalByteLength, set at the end
    out.put32(kObjectTypeSize + 2 * kCounterDefinitionSize);
    out.put32(kObjectTypeSize);
    out.put32(kProcessObjectIndex);
    out.zeros(16);  // name title, help index and title, detail level
    out.put32(2);   // NumCounters
    out.put32(0);   // DefaultCounter
    out.put32(static_cast<std::uint32_t>(instances.size()));
    out.put32(0);   // CodePage: names are UTF-16
    out.zeros(16);  // PerfTime, PerfFreq
    putCounterDefinition(out, kProcessorTimeIndex, 8, kProcessorTimeOffset);
    putCounterDefinition(out, kIdProcessCounterIndex, 4, kIdProcessOffset);

    for (const PerformanceInstance& instance : instances) {
        const std::uint32_t start = out.size();
        out.put32(0);           // ByteLength, set below
        out.put32(0);           // ParentObjectTitleIndex
        out.put32(0);           // ParentObjectInstance
        out.put32(0xFFFFFFFF);  // UniqueID: none, instances go by name
        out.put32(kInstanceDefinitionSize);
        out.put32(static_cast<std::uint32_t>((instance.name.size() + 1) * 2));
        out.putWide(instance.name);
        out.alignTo8();
        out.set32(start, out.size() - start);
        // PERF_COUNTER_BLOCK
        out.put32(kCounterBlockSize);
        out.zeros(kIdProcessOffset - 4);
        out.put32(instance.processId);
        out.zeros(kCounterBlockSize - kIdProcessOffset - 4);
    }
    out.set32(object, out.size() - object);
    out.set32(totalLengthAt, out.size());
    return out.take();
}

std::vector<std::uint8_t> buildCounterNames(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<std::uint8_t> bytes;
    for (const auto& [index, name] : pairs) {
        bytes.insert(bytes.end(), index.begin(), index.end());
        bytes.push_back(0);
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return bytes;
}

std::vector<std::pair<std::string, std::string>> standardCounterNames() {
    return {{"1", "1847"},         {"2", "System"},   {"4", "Memory"},
            {"6", "% Processor Time"}, {"230", "Process"}, {"232", "Thread"},
            {"784", "ID Process"},  {"1846", "End Marker"}};
}

}  // namespace brisko::fake
