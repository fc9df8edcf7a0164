#pragma once
// The shape of a skin bitmap as rows of rectangles, gathered in batches that
// each become one partial region. The system calls that turn a batch into a
// region stay with the window code; this is the arithmetic.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/pixel_rect.h"

namespace brisko {

// Rectangles are gathered in a block that grows by this many at a time...
constexpr std::size_t kRegionBlockGrowth = 100;
// ...and no partial region is made of more than this many.
constexpr std::size_t kRegionBatchLimit = 2000;

// One partial region: its rectangles, their bounding rectangle and the
// capacity of the block that held them (what the region data's size covers).
struct RegionBatch {
    std::vector<PixelRect> rectangles;
    PixelRect bounds;
    std::size_t blockCapacity;
};

// A 32-bit pixel image as the region build reads it: blue, green, red and
// one unused byte per pixel, its rows stored either way up.
struct PixelImage {
    const std::uint8_t* topRow;
    // Bytes from one row to the next one down the picture; negative for a
    // bottom-up image.
    std::ptrdiff_t rowStep;
    std::int32_t width;
    std::int32_t height;
};

// Whether a pixel belongs to the region: with includeOthers, every colour
// but the key colour (0x00BBGGRR); without it, only the key colour.
bool pixelInRegion(const std::uint8_t* bgrx, std::uint32_t keyColour, bool includeOthers);

// The runs of one row, from left to right, as rectangles one pixel high.
std::vector<PixelRect> rowRuns(const std::uint8_t* row, std::int32_t width, std::int32_t y,
                               std::uint32_t keyColour, bool includeOthers);

// Every run of the image, top row first, in batches of at most
// kRegionBatchLimit. The last batch holds what was left after the last full
// one, and is there (possibly empty) even when the image has no run at all.
std::vector<RegionBatch> regionBatches(const PixelImage& image, std::uint32_t keyColour,
                                       bool includeOthers);

}  // namespace brisko
