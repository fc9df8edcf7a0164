// The Process object reader of the performance data, on any bytes as the
// block. Whatever it returns must have come from inside the block: every
// name the converter was handed is a terminated UTF-16 text found in it, and
// every id is a 32-bit value found in it (0 standing for the idle id).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "memscan/process_name_table.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using brisko::kIdleProcessId;
using brisko::kInstanceNameLimit;
using brisko::ProcessNameTable;

// The id counter's index as a Windows installation numbers it.
constexpr std::uint32_t kIdProcessIndex = 784;

bool blockHolds(const std::uint8_t* block, std::size_t size, const void* bytes, std::size_t count) {
    if (count > size) return false;
    const auto* wanted = static_cast<const std::uint8_t*>(bytes);
    return std::search(block, block + size, wanted, wanted + count) != block + size;
}

struct HandedName {
    std::u16string text;
    bool converted;
};

// Converts ASCII and refuses anything else, as a narrow code page would
// refuse an unmappable name; keeps what it was handed.
struct RecordingConverter {
    std::vector<HandedName>* handed;
    int operator()(const std::uint16_t* text, char* buffer, unsigned capacity) const {
        HandedName name{{}, false};
        for (const std::uint16_t* at = text; *at != 0; ++at) name.text.push_back(static_cast<char16_t>(*at));
        const bool ascii =
            std::all_of(name.text.begin(), name.text.end(), [](char16_t unit) { return unit < 0x80; });
        name.converted = ascii && name.text.size() < capacity;
        handed->push_back(name);
        if (!name.converted) return 0;
        std::copy(name.text.begin(), name.text.end(), buffer);
        buffer[name.text.size()] = '\0';
        return static_cast<int>(name.text.size() + 1);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<HandedName> handed;
    ProcessNameTable table;
    brisko::parseProcessNameTable(data, size, kIdProcessIndex, RecordingConverter{&handed}, table);

    FUZZ_CHECK(table.filled <= brisko::kFilledSlotLimit);
    FUZZ_CHECK(table.filled == 0 || handed.size() == table.filled);
    for (unsigned i = 0; i < table.filled; ++i) {
        const brisko::ProcessNameSlot& slot = table.slots[i];
        const std::u16string& name = handed[i].text;
        // The text with its terminator, byte for byte, lies in the block.
        std::vector<std::uint8_t> wide;
        for (char16_t unit : name) {
            wide.push_back(static_cast<std::uint8_t>(unit));
            wide.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        wide.push_back(0);
        wide.push_back(0);
        FUZZ_CHECK(blockHolds(data, size, wide.data(), wide.size()));

        const std::string kept(slot.instanceName, strnlen(slot.instanceName, sizeof slot.instanceName));
        FUZZ_CHECK(kept.size() <= kInstanceNameLimit);
        if (!handed[i].converted) {
            FUZZ_CHECK(kept == "unknown");
        } else if (name.size() > kInstanceNameLimit) {
            FUZZ_CHECK(kept.empty());
        } else {
            FUZZ_CHECK(kept == std::string(name.begin(), name.end()));
        }

        const std::uint32_t stored = slot.processId == kIdleProcessId ? 0 : slot.processId;
        const std::uint8_t id[4] = {static_cast<std::uint8_t>(stored), static_cast<std::uint8_t>(stored >> 8),
                                    static_cast<std::uint8_t>(stored >> 16), static_cast<std::uint8_t>(stored >> 24)};
        FUZZ_CHECK(blockHolds(data, size, id, sizeof id) ||
                   (slot.processId == kIdleProcessId && blockHolds(data, size, "\xFE\xFF\xFF\xFF", 4)));
    }
    for (unsigned i = table.filled; i < brisko::kProcessNameSlots; ++i) {
        FUZZ_CHECK(table.slots[i].processId == 0 && table.slots[i].instanceName[0] == '\0');
    }
    return 0;
}
