#include "platform/hive/old_format_log.h"

#include <algorithm>
#include <cstring>

#include "platform/hive/base_block.h"

namespace brisko::hive {
namespace {

constexpr std::size_t kPageSize = 512;
constexpr std::size_t kVectorAt = kLogBaseBlockSize;
constexpr std::size_t kBitmapAt = kVectorAt + 4;

bool bitSet(const std::uint8_t* bitmap, std::size_t bit) { return (bitmap[bit / 8] >> (bit % 8) & 1) != 0; }

}  // namespace

const char* describe(OldLogCheck check) {
    switch (check) {
        case OldLogCheck::kApplied: return "applied";
        case OldLogCheck::kStale: return "written for another state of the hive";
        case OldLogCheck::kBadBinsSize: return "a wrong hive bins data size";
        case OldLogCheck::kNoVector: return "no dirty vector";
        case OldLogCheck::kTruncated: return "cut short";
        case OldLogCheck::kBadBin: return "a damaged hive bin";
    }
    return "unknown";
}

OldLogCheck applyOldFormatLog(std::vector<std::uint8_t>& image, const LogBytes& log, const LogHeader& header,
                              std::uint64_t hiveWrittenAt) {
    if (header.writtenAt != hiveWrittenAt) return OldLogCheck::kStale;
    const std::uint32_t binsSize = header.binsSize;
    if (binsSize < kBinAlignment || binsSize % kBinAlignment != 0) return OldLogCheck::kBadBinsSize;
    const std::size_t pages = binsSize / kPageSize;
    const std::size_t bitmapBytes = pages / 8;
    if (log.size < kBitmapAt || std::memcmp(log.data + kVectorAt, "DIRT", 4) != 0 ||
        bitmapBytes > log.size - kBitmapAt) {
        return OldLogCheck::kNoVector;
    }
    const std::uint8_t* bitmap = log.data + kBitmapAt;
    std::size_t dirty = 0;
    for (std::size_t bit = 0; bit < pages; ++bit) dirty += bitSet(bitmap, bit) ? 1 : 0;
    const std::size_t pagesAt = (kBitmapAt + bitmapBytes + kLogSector - 1) / kLogSector * kLogSector;
    if (pagesAt > log.size || dirty > (log.size - pagesAt) / kPageSize) return OldLogCheck::kTruncated;
    // A hive grows only by pages the log carries.
    const std::size_t imageBins = image.size() - kBaseBlockSize;
    if (binsSize > imageBins && binsSize - imageBins > dirty * kPageSize) return OldLogCheck::kBadBinsSize;

    std::vector<std::uint8_t> result = image;
    result.resize(kBaseBlockSize + binsSize, 0);
    std::size_t from = pagesAt;
    for (std::size_t bit = 0; bit < pages; ++bit) {
        if (!bitSet(bitmap, bit)) continue;
        std::copy_n(log.data + from, kPageSize,
                    result.begin() + static_cast<std::ptrdiff_t>(kBaseBlockSize + bit * kPageSize));
        from += kPageSize;
    }
    // The bins, walked from the first: one the log wrote to must be whole,
    // its signature, its own offset and a size of 4096 or more within the
    // bins. A damaged bin the log did not touch ends the walk: the hive's
    // own reader judges it.
    for (std::size_t at = 0; at < binsSize;) {
        const std::uint8_t* bin = result.data() + kBaseBlockSize + at;
        const std::uint32_t size = readLittle32(bin + 8);
        const bool whole = std::memcmp(bin, "hbin", 4) == 0 && readLittle32(bin + 4) == at && size >= kBinAlignment &&
                           size % kBinAlignment == 0 && size <= binsSize - at;
        const std::size_t end = whole ? at + size : at + kBinAlignment;
        bool written = false;
        for (std::size_t bit = at / kPageSize; bit < end / kPageSize && !written; ++bit) written = bitSet(bitmap, bit);
        if (!whole) {
            if (written) return OldLogCheck::kBadBin;
            break;
        }
        at = end;
    }
    writeLittle32(result.data() + kBinsSizeAt, binsSize);
    image.swap(result);
    return OldLogCheck::kApplied;
}

}  // namespace brisko::hive
