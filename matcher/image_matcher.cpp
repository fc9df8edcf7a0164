#include "matcher/image_matcher.h"

#include <cstring>

#include "base/little_endian.h"
#include "matcher/probe_offset.h"

namespace brisko {
namespace {

constexpr std::int32_t kHeaderOffsetPosition = 60;
constexpr std::uint32_t kPeMark = 0x00004550;  // "PE\0\0"
constexpr unsigned kFileHeaderLength = 20;
constexpr unsigned kOptionalHeaderPart = 96;
constexpr unsigned kSectionHeaderLength = 40;
// The section table is taken right after a full-size PE32 optional header,
// whatever SizeOfOptionalHeader says.
constexpr std::uint32_t kSectionTableDistance = 4 + kFileHeaderLength + 224;

// The header fields of the file under test. Every read lands in a fixed
// buffer of its own size, so no field of the file can steer a read elsewhere.
struct ImageHeaders {
    std::int32_t fileLength;
    std::uint32_t entryPoint;
    std::uint32_t sizeOfHeaders;
    unsigned sectionCount;
    SectionPlacement sections[kMaxSections];
};

bool readHeaders(ReadOnlyFile& file, ImageHeaders& image) {
    std::uint8_t offsetBytes[2];
    if (!file.readExactly(kHeaderOffsetPosition, offsetBytes, sizeof offsetBytes)) return false;
    const std::int32_t headerOffset = readLittle16(offsetBytes);

    std::uint8_t mark[4];
    if (!file.readExactly(headerOffset, mark, sizeof mark) || readLittle32(mark) != kPeMark) return false;

    std::uint8_t fileHeader[kFileHeaderLength];
    if (!file.readExactly(headerOffset + 4, fileHeader, sizeof fileHeader)) return false;
    std::uint8_t optionalHeader[kOptionalHeaderPart];
    if (!file.readExactly(headerOffset + 24, optionalHeader, sizeof optionalHeader)) return false;

    image.sectionCount = readLittle16(fileHeader + 2);
    if (image.sectionCount > kMaxSections) return false;
    image.entryPoint = readLittle32(optionalHeader + 16);
    image.sizeOfHeaders = readLittle32(optionalHeader + 60);

    std::memset(image.sections, 0, sizeof image.sections);
    std::uint8_t sectionTable[kMaxSections * kSectionHeaderLength];
    const unsigned tableLength = image.sectionCount * kSectionHeaderLength;
    if (tableLength > 0 &&
        !file.readExactly(static_cast<std::int32_t>(headerOffset + kSectionTableDistance),
                          sectionTable, tableLength)) {
        return false;
    }
    for (unsigned i = 0; i < image.sectionCount; ++i) {
        const std::uint8_t* section = sectionTable + i * kSectionHeaderLength;
        image.sections[i] = {readLittle32(section + 8), readLittle32(section + 12),
                             readLittle32(section + 20)};
    }
    return true;
}

bool probeMatches(ReadOnlyFile& file, const ImageHeaders& image, std::int32_t probeOffset,
                  const std::uint8_t (&expected)[kProbeLength]) {
    const std::uint32_t address = image.entryPoint + static_cast<std::uint32_t>(probeOffset);
    const std::uint32_t offset =
        resolveProbeOffset(image.sections, image.sectionCount, image.sizeOfHeaders,
                           static_cast<std::uint32_t>(image.fileLength), address);
    std::uint8_t found[kProbeLength];
    // Offsets past 2 GiB do not fit the descriptor's signed position: the
    // seek fails and so does the record.
    return file.readExactly(static_cast<std::int32_t>(offset), found, sizeof found) &&
           std::memcmp(found, expected, sizeof found) == 0;
}

const ThreatSignature* firstMatchingRecord(const ThreatSignature* table, ReadOnlyFile& file,
                                           const ImageHeaders& image) {
    for (const ThreatSignature* record = table; record->name[0] != '\0'; ++record) {
        if (sizeTestPasses(*record, image.fileLength) &&
            probeMatches(file, image, record->probeOffset1, record->probeBytes1) &&
            probeMatches(file, image, record->probeOffset2, record->probeBytes2)) {
            return record;
        }
    }
    return nullptr;
}

}  // namespace

bool someSignatureAcceptsLength(const ThreatSignature* table, std::uint64_t length) {
    if (length > static_cast<std::uint64_t>(INT32_MAX)) return false;
    for (const ThreatSignature* record = table; record->name[0] != '\0'; ++record) {
        if (sizeTestPasses(*record, static_cast<std::int32_t>(length))) return true;
    }
    return false;
}

const ThreatSignature* findSignature(const ThreatSignature* table, ReadOnlyFile& file) {
    ImageHeaders headers{};
    headers.fileLength = file.length();
    if (headers.fileLength < 0 || !readHeaders(file, headers)) return nullptr;
    return firstMatchingRecord(table, file, headers);
}

}  // namespace brisko
