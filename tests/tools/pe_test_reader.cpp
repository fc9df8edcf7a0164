#include "tests/tools/pe_test_reader.h"

#include <algorithm>

namespace brisko::test {
namespace {

constexpr std::uint32_t kSectionTableStart = 4 + 20 + 224;
constexpr std::uint32_t kSectionEntrySize = 40;

bool holds(const Bytes& bytes, std::uint64_t offset, std::uint64_t length) {
    return offset <= bytes.size() && length <= bytes.size() - offset;
}

}  // namespace

std::uint32_t readLe32(const Bytes& bytes, std::uint64_t offset) {
    if (!holds(bytes, offset, 4)) return 0;
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

std::uint16_t readLe16(const Bytes& bytes, std::uint64_t offset) {
    if (!holds(bytes, offset, 2)) return 0;
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::optional<ParsedImage> parseImage(const Bytes& bytes, ReadOptions options) {
    if (!holds(bytes, 60, 4)) return std::nullopt;
    ParsedImage image{};
    image.headerOffset = options.fullHeaderOffset ? readLe32(bytes, 60) : readLe16(bytes, 60);
    const std::uint64_t at = image.headerOffset;
    static const std::uint8_t kPeMark[] = {'P', 'E', 0, 0};
    if (!holds(bytes, at, kSectionTableStart) || !std::equal(kPeMark, kPeMark + 4, bytes.begin() + at)) {
        return std::nullopt;
    }
    image.machine = readLe16(bytes, at + 4);
    image.numberOfSections = readLe16(bytes, at + 6);
    image.sizeOfOptionalHeader = readLe16(bytes, at + 20);
    image.optionalMagic = readLe16(bytes, at + 24);
    image.entryPoint = readLe32(bytes, at + 24 + 16);
    image.sectionAlignment = readLe32(bytes, at + 24 + 32);
    image.fileAlignment = readLe32(bytes, at + 24 + 36);
    image.sizeOfImage = readLe32(bytes, at + 24 + 56);
    image.sizeOfHeaders = readLe32(bytes, at + 24 + 60);
    if (options.limitSections && image.numberOfSections > kMaxSections) return std::nullopt;

    const std::uint64_t table = at + kSectionTableStart;
    if (!holds(bytes, table, std::uint64_t{image.numberOfSections} * kSectionEntrySize)) return std::nullopt;
    for (unsigned i = 0; i < image.numberOfSections; ++i) {
        const std::uint64_t entry = table + i * kSectionEntrySize;
        const SectionHeader section{readLe32(bytes, entry + 8), readLe32(bytes, entry + 12),
                                    readLe32(bytes, entry + 16), readLe32(bytes, entry + 20)};
        image.sections.push_back(section);
        image.placements.push_back({section.virtualSize, section.virtualAddress, section.pointerToRawData});
    }
    return image;
}

std::uint32_t probeFileOffset(const ParsedImage& image, std::size_t fileLength, std::int32_t probeOffset) {
    const std::uint32_t address = image.entryPoint + static_cast<std::uint32_t>(probeOffset);
    return resolveProbeOffset(image.placements.data(), static_cast<unsigned>(image.placements.size()),
                              image.sizeOfHeaders, static_cast<std::uint32_t>(fileLength), address);
}

bool probeFound(const Bytes& bytes, const ParsedImage& image, std::int32_t probeOffset,
                const std::uint8_t (&probe)[kProbeLength]) {
    const std::uint32_t offset = probeFileOffset(image, bytes.size(), probeOffset);
    return holds(bytes, offset, kProbeLength) && std::equal(probe, probe + kProbeLength, bytes.begin() + offset);
}

bool matchesRecord(const ThreatSignature& record, const Bytes& bytes, ReadOptions options) {
    if (!sizeTestPasses(record, static_cast<std::int32_t>(bytes.size()))) return false;
    const std::optional<ParsedImage> image = parseImage(bytes, options);
    return image && probeFound(bytes, *image, record.probeOffset1, record.probeBytes1) &&
           probeFound(bytes, *image, record.probeOffset2, record.probeBytes2);
}

}  // namespace brisko::test
