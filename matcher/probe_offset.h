#pragma once
// Turning an address relative to the image into a file offset, the way the
// matcher does it: through the image's own section table.
#include <cstdint>

namespace brisko {

constexpr unsigned kMaxSections = 20;

// The three fields of a section header the resolution looks at.
struct SectionPlacement {
    std::uint32_t virtualSize;
    std::uint32_t virtualAddress;
    std::uint32_t pointerToRawData;
};

// Resolves an image-relative address. All sums wrap at 32 bits and every
// comparison is unsigned. The first section that ends above the address is
// taken (its start is not compared), else the last one; with no sections the
// address is the offset. An offset at or past the end of the file falls back
// to the address itself, and an offset of 0 becomes SizeOfHeaders.
std::uint32_t resolveProbeOffset(const SectionPlacement* sections, unsigned sectionCount,
                                 std::uint32_t sizeOfHeaders, std::uint32_t fileLength,
                                 std::uint32_t address);

}  // namespace brisko
