#include "matcher/probe_offset.h"

namespace brisko {

std::uint32_t resolveProbeOffset(const SectionPlacement* sections, unsigned sectionCount,
                                 std::uint32_t sizeOfHeaders, std::uint32_t fileLength,
                                 std::uint32_t address) {
    std::uint32_t offset = address;
    if (sectionCount > 0) {
        const SectionPlacement* chosen = &sections[sectionCount - 1];
        for (unsigned i = 0; i < sectionCount; ++i) {
            if (sections[i].virtualAddress + sections[i].virtualSize > address) {
                chosen = &sections[i];
                break;
            }
        }
        offset = address - chosen->virtualAddress + chosen->pointerToRawData;
    }
    if (offset >= fileLength) offset = address;
    return offset == 0 ? sizeOfHeaders : offset;
}

}  // namespace brisko
