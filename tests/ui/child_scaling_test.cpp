#include <gtest/gtest.h>

#include <string>

#include "ui/child_scaling.h"

namespace brisko {
namespace {

TEST(ChildScalingTest, ScalesScreenRectangles) {
    struct Case {
        const char* name;
        PixelRect before;
        int clientWidth, clientHeight;
        PixelRect after;
    };
    const Case cases[] = {
        {"the reference size leaves it alone", {17, 66, 197, 99}, 600, 337, {17, 66, 197, 99}},
        {"half the size doubles it", {10, 20, 30, 41}, 300, 168, {20, 40, 60, 82}},
        // 523 / 600 wide: 16 / 0.87166 = 18.35, cut to 18.
        {"fractions are cut", {16, 65, 196, 98}, 523, 337, {18, 65, 224, 98}},
        {"cut toward zero off screen", {-10, -10, 5, 5}, 523, 339, {-11, -9, 5, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scaledScreenRect(c.before, c.clientWidth, c.clientHeight, 600, 337), c.after);
    }
}

}  // namespace
}  // namespace brisko
