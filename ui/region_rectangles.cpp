#include "ui/region_rectangles.h"

#include <algorithm>

namespace brisko {
namespace {

constexpr PixelRect kEmptyBounds{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};

RegionBatch emptyBatch(std::size_t capacity) { return RegionBatch{{}, kEmptyBounds, capacity}; }

// Stores one rectangle as the block does: grow by a step when full, widen
// the bounds, and close the batch when it reaches the limit.
void store(std::vector<RegionBatch>& batches, const PixelRect& run) {
    RegionBatch& batch = batches.back();
    if (batch.rectangles.size() == batch.blockCapacity) batch.blockCapacity += kRegionBlockGrowth;
    batch.rectangles.push_back(run);
    batch.bounds.left = std::min(batch.bounds.left, run.left);
    batch.bounds.top = std::min(batch.bounds.top, run.top);
    batch.bounds.right = std::max(batch.bounds.right, run.right);
    batch.bounds.bottom = std::max(batch.bounds.bottom, run.bottom);
    // The block keeps its size after a flush; only the count starts again.
    if (batch.rectangles.size() == kRegionBatchLimit) batches.push_back(emptyBatch(batch.blockCapacity));
}

}  // namespace

bool pixelInRegion(const std::uint8_t* bgrx, std::uint32_t keyColour, bool includeOthers) {
    const bool isKey = bgrx[0] == ((keyColour >> 16) & 0xFF) && bgrx[1] == ((keyColour >> 8) & 0xFF) &&
                       bgrx[2] == (keyColour & 0xFF);
    return includeOthers ? !isKey : isKey;
}

std::vector<PixelRect> rowRuns(const std::uint8_t* row, std::int32_t width, std::int32_t y,
                               std::uint32_t keyColour, bool includeOthers) {
    std::vector<PixelRect> runs;
    std::int32_t x = 0;
    while (x < width) {
        const std::int32_t start = x;
        while (x < width && pixelInRegion(row + 4 * x, keyColour, includeOthers)) ++x;
        if (x > start) runs.push_back(PixelRect{start, y, x, y + 1});
        // The pixel that ended the run is outside; step over it.
        ++x;
    }
    return runs;
}

std::vector<RegionBatch> regionBatches(const PixelImage& image, std::uint32_t keyColour,
                                       bool includeOthers) {
    std::vector<RegionBatch> batches{emptyBatch(kRegionBlockGrowth)};
    for (std::int32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.topRow + y * image.rowStep;
        for (const PixelRect& run : rowRuns(row, image.width, y, keyColour, includeOthers)) {
            store(batches, run);
        }
    }
    return batches;
}

}  // namespace brisko
