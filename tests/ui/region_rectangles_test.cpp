#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/region_rectangles.h"

namespace brisko {
namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

// Pixels as the region build reads them: blue, green, red, unused.
struct Pixel {
    std::uint8_t b, g, r, x;
};
constexpr Pixel M{255, 0, 255, 0};  // magenta, the key colour
constexpr Pixel W{255, 255, 255, 0};
constexpr Pixel NearMagenta{254, 0, 255, 0};  // RGB(255, 0, 254)

std::vector<PixelRect> runsOf(const std::vector<Pixel>& row, bool includeOthers = true) {
    return rowRuns(reinterpret_cast<const std::uint8_t*>(row.data()), static_cast<std::int32_t>(row.size()), 7,
                   kMagenta, includeOthers);
}

TEST(RegionRectanglesTest, RowRuns) {
    struct Case {
        const char* name;
        std::vector<Pixel> row;
        bool includeOthers;
        std::vector<PixelRect> expected;
    };
    const Case cases[] = {
        {"no magenta: the whole row", {W, W, W, W}, true, {{0, 7, 4, 8}}},
        {"all magenta: nothing", {M, M, M}, true, {}},
        {"alternating: one pixel each", {W, M, W, M, W}, true, {{0, 7, 1, 8}, {2, 7, 3, 8}, {4, 7, 5, 8}}},
        {"only exact magenta is cut out", {M, NearMagenta, M}, true, {{1, 7, 2, 8}}},
        {"runs between magenta", {M, W, W, M, M, W}, true, {{1, 7, 3, 8}, {5, 7, 6, 8}}},
        {"without the flag, magenta itself", {M, W, M, M, NearMagenta}, false, {{0, 7, 1, 8}, {2, 7, 4, 8}}},
        {"empty row", {}, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runsOf(c.row, c.includeOthers), c.expected);
    }
}

// A bottom-up image, stored as the system stores a DIB with positive height.
class BottomUpImage {
public:
    BottomUpImage(int width, int height) : width_(width), height_(height), pixels_(width * height, W) {}
    Pixel& at(int x, int y) { return pixels_[(height_ - 1 - y) * width_ + x]; }
    PixelImage view() const {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(pixels_.data());
        const std::ptrdiff_t stride = 4 * width_;
        return PixelImage{bytes + (height_ - 1) * stride, -stride, width_, height_};
    }

private:
    int width_;
    int height_;
    std::vector<Pixel> pixels_;
};

TEST(RegionRectanglesTest, ReadsTheTopRowFirstFromABottomUpImage) {
    BottomUpImage image(3, 2);
    image.at(0, 0) = M;  // top row: run from x 1
    image.at(2, 1) = M;  // bottom row: run up to x 2
    const std::vector<RegionBatch> batches = regionBatches(image.view(), kMagenta, true);
    ASSERT_EQ(batches.size(), 1u);
    const std::vector<PixelRect> expected{{1, 0, 3, 1}, {0, 1, 2, 2}};
    EXPECT_EQ(batches[0].rectangles, expected);
    EXPECT_EQ(batches[0].bounds, (PixelRect{0, 0, 3, 2}));
    EXPECT_EQ(batches[0].blockCapacity, kRegionBlockGrowth);
}

TEST(RegionRectanglesTest, SplitsAtTwoThousandRectanglesAndKeepsEveryRun) {
    // 50 runs a row; 41 rows make 2050 runs.
    const int width = 100, height = 41;
    BottomUpImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 1; x < width; x += 2) image.at(x, y) = M;
    const std::vector<RegionBatch> batches = regionBatches(image.view(), kMagenta, true);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].rectangles.size(), 2000u);
    EXPECT_EQ(batches[1].rectangles.size(), 50u);
    // The block grew in steps of 100 to 2000 and keeps that size.
    EXPECT_EQ(batches[0].blockCapacity, 2000u);
    EXPECT_EQ(batches[1].blockCapacity, 2000u);
    // The second batch starts where the first stopped: row 40, and its bounds
    // start afresh.
    EXPECT_EQ(batches[1].rectangles.front(), (PixelRect{0, 40, 1, 41}));
    EXPECT_EQ(batches[1].bounds, (PixelRect{0, 40, 99, 41}));
    EXPECT_EQ(batches[0].bounds, (PixelRect{0, 0, 99, 40}));
}

TEST(RegionRectanglesTest, BlockGrowsByOneStepPastEachHundred) {
    struct Case {
        int runs;
        std::size_t capacity;
    };
    const Case cases[] = {{1, 100}, {100, 100}, {101, 200}, {1999, 2000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.runs) + " runs");
        BottomUpImage image(2, c.runs);
        for (int y = 0; y < c.runs; ++y) image.at(1, y) = M;
        const std::vector<RegionBatch> batches = regionBatches(image.view(), kMagenta, true);
        ASSERT_EQ(batches.size(), 1u);
        EXPECT_EQ(batches[0].rectangles.size(), static_cast<std::size_t>(c.runs));
        EXPECT_EQ(batches[0].blockCapacity, c.capacity);
    }
}

TEST(RegionRectanglesTest, ExactlyTwoThousandRunsLeaveAnEmptyLastBatch) {
    BottomUpImage image(1, 2000);
    const std::vector<RegionBatch> batches = regionBatches(image.view(), kMagenta, true);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].rectangles.size(), 2000u);
    EXPECT_TRUE(batches[1].rectangles.empty());
    EXPECT_EQ(batches[1].bounds, (PixelRect{0x7FFFFFFF, 0x7FFFFFFF, 0, 0}));
}

}  // namespace
}  // namespace brisko
