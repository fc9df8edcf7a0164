// The region built from a skin bitmap, for any bitmap: every rectangle is a
// run of one row inside the bitmap, the runs cover exactly the pixels that
// belong to the region (as a plain per-pixel test says), and the batches
// keep their limits. The input is a small header and then the pixels.
#include <algorithm>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "ui/region_rectangles.h"

namespace {

using brisko::PixelRect;
using brisko::RegionBatch;

// width (2 bytes), key colour red, green, blue, flags (1: the other colours
// make the region, 2: the image is stored bottom-up), then BGRX pixels.
constexpr std::size_t kHeaderLength = 6;
constexpr std::int32_t kWidestImage = 1024;

struct FuzzImage {
    brisko::PixelImage image;
    std::uint32_t keyColour;
    bool includeOthers;
};

bool readImage(const std::uint8_t* data, std::size_t size, FuzzImage& fuzz) {
    if (size < kHeaderLength) return false;
    const std::int32_t width = 1 + (data[0] | data[1] << 8) % kWidestImage;
    const std::size_t stride = 4 * static_cast<std::size_t>(width);
    const std::int32_t height = static_cast<std::int32_t>((size - kHeaderLength) / stride);
    const std::uint8_t* pixels = data + kHeaderLength;
    const bool bottomUp = (data[5] & 2) != 0;
    fuzz.keyColour = data[2] | data[3] << 8 | static_cast<std::uint32_t>(data[4]) << 16;
    fuzz.includeOthers = (data[5] & 1) != 0;
    fuzz.image.width = width;
    fuzz.image.height = height;
    fuzz.image.rowStep = bottomUp ? -static_cast<std::ptrdiff_t>(stride) : static_cast<std::ptrdiff_t>(stride);
    fuzz.image.topRow = bottomUp && height > 0 ? pixels + (height - 1) * stride : pixels;
    return true;
}

bool belongs(const FuzzImage& fuzz, std::int32_t x, std::int32_t y) {
    const std::uint8_t* pixel = fuzz.image.topRow + y * fuzz.image.rowStep + 4 * x;
    const std::uint32_t colour = pixel[2] | pixel[1] << 8 | static_cast<std::uint32_t>(pixel[0]) << 16;
    return (colour == fuzz.keyColour) != fuzz.includeOthers;
}

void checkBatch(const RegionBatch& batch) {
    FUZZ_CHECK(batch.rectangles.size() <= batch.blockCapacity);
    FUZZ_CHECK(batch.blockCapacity % brisko::kRegionBlockGrowth == 0);
    if (batch.rectangles.empty()) return;
    PixelRect bounds = batch.rectangles.front();
    for (const PixelRect& rect : batch.rectangles) {
        bounds = {std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                  std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom)};
    }
    FUZZ_CHECK(batch.bounds == bounds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzImage fuzz{};
    if (!readImage(data, size, fuzz)) return 0;
    const std::int32_t width = fuzz.image.width;
    const std::int32_t height = fuzz.image.height;
    const std::vector<RegionBatch> batches = brisko::regionBatches(fuzz.image, fuzz.keyColour, fuzz.includeOthers);

    FUZZ_CHECK(!batches.empty());
    std::vector<PixelRect> all;
    for (std::size_t i = 0; i < batches.size(); ++i) {
        const bool last = i + 1 == batches.size();
        FUZZ_CHECK(last ? batches[i].rectangles.size() < brisko::kRegionBatchLimit
                        : batches[i].rectangles.size() == brisko::kRegionBatchLimit);
        if (i > 0) FUZZ_CHECK(batches[i].blockCapacity >= batches[i - 1].blockCapacity);
        checkBatch(batches[i]);
        all.insert(all.end(), batches[i].rectangles.begin(), batches[i].rectangles.end());
    }
    // Runs are apart by at least one pixel, so a row holds at most half of it.
    FUZZ_CHECK(all.size() <= static_cast<std::size_t>(height) * static_cast<std::size_t>((width + 1) / 2));

    std::vector<bool> covered(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), false);
    const PixelRect* previous = nullptr;
    for (const PixelRect& rect : all) {
        FUZZ_CHECK(rect.top >= 0 && rect.top < height && rect.bottom == rect.top + 1);
        FUZZ_CHECK(rect.left >= 0 && rect.left < rect.right && rect.right <= width);
        // Top row first, left to right, never touching the run before.
        if (previous != nullptr) {
            FUZZ_CHECK(rect.top > previous->top || (rect.top == previous->top && rect.left > previous->right));
        }
        previous = &rect;
        for (std::int32_t x = rect.left; x < rect.right; ++x) {
            covered[static_cast<std::size_t>(rect.top) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = true;
        }
    }
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            FUZZ_CHECK(covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] ==
                       belongs(fuzz, x, y));
        }
    }
    return 0;
}
