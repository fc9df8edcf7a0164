#pragma once
// The tests' own reading of a sample, kept apart from the writer: headers
// parsed the way the matcher parses them, probes resolved through
// the matcher's resolveProbeOffset. Two switches lift the matcher's limits so
// a test can show a near miss fails for its one intended reason only.
#include <cstdint>
#include <optional>
#include <vector>

#include "matcher/probe_offset.h"
#include "matcher/threat_signature.h"

namespace brisko::test {

using Bytes = std::vector<std::uint8_t>;

struct ReadOptions {
    bool fullHeaderOffset = false;  // take all 32 bits at offset 60, not the matcher's 16
    bool limitSections = true;      // refuse more than kMaxSections, as the matcher does
};

// The fields of a section header the tests look at.
struct SectionHeader {
    std::uint32_t virtualSize;
    std::uint32_t virtualAddress;
    std::uint32_t sizeOfRawData;
    std::uint32_t pointerToRawData;
};

struct ParsedImage {
    std::uint32_t headerOffset;
    std::uint16_t machine;
    std::uint16_t numberOfSections;
    std::uint16_t sizeOfOptionalHeader;
    std::uint16_t optionalMagic;
    std::uint32_t entryPoint;
    std::uint32_t sectionAlignment;
    std::uint32_t fileAlignment;
    std::uint32_t sizeOfImage;
    std::uint32_t sizeOfHeaders;
    std::vector<SectionHeader> sections;
    std::vector<SectionPlacement> placements;  // the same sections as the matcher sees them
};

// Little-endian reads; 0 past the end of the bytes.
std::uint32_t readLe32(const Bytes& bytes, std::uint64_t offset);
std::uint16_t readLe16(const Bytes& bytes, std::uint64_t offset);

// Empty when the matcher would not get past the headers.
std::optional<ParsedImage> parseImage(const Bytes& bytes, ReadOptions options = {});

// The file offset the matcher reads a probe from.
std::uint32_t probeFileOffset(const ParsedImage& image, std::size_t fileLength, std::int32_t probeOffset);

// Whether the 20 bytes at that offset are the probe.
bool probeFound(const Bytes& bytes, const ParsedImage& image, std::int32_t probeOffset,
                const std::uint8_t (&probe)[kProbeLength]);

// Whether the matcher takes the file for the record: size test, then both probes.
bool matchesRecord(const ThreatSignature& record, const Bytes& bytes, ReadOptions options = {});

}  // namespace brisko::test
