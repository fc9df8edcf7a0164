#include <gtest/gtest.h>

#include <vector>

#include "ui/pointer_rest.h"

namespace brisko {
namespace {

TEST(PointerRestTest, OnlyMovesFromTheRestingSpotCount) {
    struct Case {
        const char* name;
        std::vector<PixelPoint> moves;
        std::vector<bool> expected;
    };
    const PixelPoint rest{500, 450};
    const Case cases[] = {
        {"the window comes up under the resting pointer", {rest, rest}, {false, false}},
        {"the pointer moves one pixel", {rest, {501, 450}}, {false, true}},
        {"a first move elsewhere", {{10, 20}}, {true}},
        {"back on the old spot after moving: a move like any other", {rest, {500, 451}, rest}, {false, true, true}},
    };
    for (const Case& c : cases) {
        PointerRest pointer(rest);
        for (std::size_t i = 0; i < c.moves.size(); ++i) {
            EXPECT_EQ(pointer.moved(c.moves[i]), c.expected[i]) << c.name << ", move " << i;
        }
    }
}

TEST(PointerRestTest, WithoutARestingSpotEveryMoveCounts) {
    PointerRest pointer;
    EXPECT_TRUE(pointer.moved(PixelPoint{0, 0}));
}

}  // namespace
}  // namespace brisko
