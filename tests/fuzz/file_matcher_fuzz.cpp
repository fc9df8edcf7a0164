// The PE header reader and matcher against the whole signature table, on
// any bytes as the file. A plain reference, written from the image layout,
// says which record (if any) the file carries; the matcher must agree with
// it both ways, and name that record.
#include <cstring>
#include <optional>
#include <vector>

#include "matcher/image_matcher.h"
#include "matcher/probe_offset.h"
#include "matcher/threat_signature.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_platform.h"

namespace brisko {
namespace {

struct ReferenceImage {
    std::uint32_t entryPoint;
    std::uint32_t sizeOfHeaders;
    std::vector<SectionPlacement> sections;
};

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t size() const { return size_; }
    bool holds(std::uint64_t offset, std::uint64_t count) const { return offset + count <= size_; }
    std::uint32_t little(std::uint64_t offset, unsigned width) const {
        std::uint32_t value = 0;
        for (unsigned i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(data_[offset + i]) << (8 * i);
        return value;
    }
    bool equal(std::uint64_t offset, const std::uint8_t* expected, unsigned count) const {
        return holds(offset, count) && std::memcmp(data_ + offset, expected, count) == 0;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// MZ header: the PE header's offset is the 16-bit value at 60. PE header:
// "PE\0\0", the 20-byte file header (section count at 2), the optional
// header (entry point at 16, SizeOfHeaders at 60, of which 96 bytes must be
// there), and the 40-byte section entries 248 bytes after the mark.
std::optional<ReferenceImage> readReference(const Bytes& file) {
    if (!file.holds(60, 2)) return std::nullopt;
    const std::uint64_t pe = file.little(60, 2);
    if (!file.holds(pe, 120) || file.little(pe, 4) != 0x4550) return std::nullopt;
    const unsigned sectionCount = file.little(pe + 6, 2);
    if (sectionCount > kMaxSections) return std::nullopt;
    ReferenceImage image{file.little(pe + 40, 4), file.little(pe + 84, 4), {}};
    const std::uint64_t table = pe + 248;
    if (sectionCount > 0 && !file.holds(table, 40ull * sectionCount)) return std::nullopt;
    for (unsigned i = 0; i < sectionCount; ++i) {
        const std::uint64_t entry = table + 40ull * i;
        image.sections.push_back({file.little(entry + 8, 4), file.little(entry + 12, 4), file.little(entry + 20, 4)});
    }
    return image;
}

// Where a probe is read: through the first section whose end (32-bit sum)
// lies above the address, else the last; the address itself when that lands
// at or past the end of the file; SizeOfHeaders for an offset of 0.
std::uint32_t referenceProbeOffset(const ReferenceImage& image, std::uint32_t fileLength, std::uint32_t address) {
    std::uint32_t offset = address;
    if (!image.sections.empty()) {
        const SectionPlacement* chosen = &image.sections.back();
        for (const SectionPlacement& section : image.sections) {
            if (static_cast<std::uint32_t>(section.virtualAddress + section.virtualSize) > address) {
                chosen = &section;
                break;
            }
        }
        offset = address - chosen->virtualAddress + chosen->pointerToRawData;
    }
    if (offset >= fileLength) offset = address;
    return offset == 0 ? image.sizeOfHeaders : offset;
}

bool lengthAccepted(const ThreatSignature& record, std::size_t length) {
    const std::int64_t difference = static_cast<std::int64_t>(record.expectedSize) - static_cast<std::int64_t>(length);
    switch (record.sizeMode) {
        case kSizeExact: return difference == 0;
        case kSizeNear: return difference > -sizeTolerance && difference < sizeTolerance;
        case kSizeAny: return true;
        default: return false;
    }
}

bool probeThere(const Bytes& file, const ReferenceImage& image, std::int32_t probeOffset,
                const std::uint8_t (&expected)[kProbeLength]) {
    const std::uint32_t address = image.entryPoint + static_cast<std::uint32_t>(probeOffset);
    const std::uint32_t offset = referenceProbeOffset(image, static_cast<std::uint32_t>(file.size()), address);
    return offset <= INT32_MAX && file.equal(offset, expected, kProbeLength);
}

const ThreatSignature* referenceMatch(const Bytes& file) {
    const std::optional<ReferenceImage> image = readReference(file);
    if (!image) return nullptr;
    for (const ThreatSignature* record = signatureTable; record->name[0] != '\0'; ++record) {
        if (lengthAccepted(*record, file.size()) && probeThere(file, *image, record->probeOffset1, record->probeBytes1) &&
            probeThere(file, *image, record->probeOffset2, record->probeBytes2)) {
            return record;
        }
    }
    return nullptr;
}

}  // namespace
}  // namespace brisko

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brisko;
    static fuzz::MemoryPlatform platform;
    platform.file().hold(data, size);
    const ThreatSignature* found = nullptr;
    {
        ReadOnlyFile file(files(), "C:\\SAMPLE.EXE");
        FUZZ_CHECK(file.isOpen());
        found = findSignature(signatureTable, file);
    }
    const ThreatSignature* expected = referenceMatch(Bytes(data, size));

    FUZZ_CHECK(platform.file().openCount() == 0);
    FUZZ_CHECK(found == expected);
    return 0;
}
