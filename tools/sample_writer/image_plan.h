#pragma once
// Where everything goes in a sample image: headers, sections, entry point
// and the two probe windows.
#include <cstdint>
#include <optional>
#include <vector>

#include "matcher/threat_signature.h"
#include "tools/sample_writer/sample_kinds.h"

namespace brisko {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kPeHeadersSize = 4 + 20 + 224;  // signature, file header, optional header
constexpr std::uint32_t kSectionEntrySize = 40;
// Where the PE headers of an ordinary sample start.
constexpr std::uint32_t kUsualHeaderOffset = 0x80;
// Every section table has room for this many entries, so the
// too-many-sections near miss only fills the table in.
constexpr unsigned kSectionTableRoom = 21;
// No sample is larger; this bounds every image buffer.
constexpr std::int32_t kLargestSample = 64 << 20;

enum class SectionKind { Code, Data, Uninitialized };

struct PlannedSection {
    char name[9];  // up to 8 characters, as in the section table
    SectionKind kind;
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t pointerToRawData;
    std::uint32_t sizeOfRawData;
};

struct ImagePlan {
    std::uint32_t fileLength;
    std::uint32_t headerOffset;  // where "PE\0\0" is, as stored at offset 60
    std::uint32_t sizeOfHeaders;
    std::uint32_t sizeOfImage;
    std::uint32_t entryPoint;  // relative to the image base
    std::vector<PlannedSection> sections;  // in ascending virtual order
    std::uint32_t probeFileOffset1;
    std::uint32_t probeFileOffset2;
};

// Plans an image of exactly record.expectedSize bytes, PE headers at
// headerOffset, whose section table sends entry + probeOffsetN to
// probeFileOffsetN. Both probe windows lie past the headers and apart, and
// the entry point lies inside a section (inside the file when there are no
// sections). Empty when the layout cannot hold the record that way.
std::optional<ImagePlan> planImage(const ThreatSignature& record, SampleLayout layout,
                                   std::uint32_t headerOffset);

}  // namespace brisko
