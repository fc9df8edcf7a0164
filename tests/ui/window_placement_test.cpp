#include <gtest/gtest.h>

#include "ui/window_placement.h"

namespace brisko {
namespace {

constexpr PixelRect kScreen{0, 0, 1024, 768};

TEST(WindowPlacementTest, CentredAndKeptOnTheWorkArea) {
    struct Case {
        const char* name;
        PixelRect window;
        PixelRect on;
        PixelRect workArea;
        PixelRect expected;
    };
    const Case cases[] = {
        {"the main dialog on the screen", {0, 0, 600, 462}, kScreen, kScreen, {212, 153, 812, 615}},
        {"an odd leftover rounds toward the top-left", {0, 0, 601, 463}, kScreen, kScreen, {211, 152, 812, 615}},
        {"a question on the skin, wherever it stood", {5, 7, 285, 117}, {212, 153, 739, 491}, kScreen,
         {335, 267, 615, 377}},
        {"pushed back from the right and bottom edges", {0, 0, 280, 110}, {900, 700, 1100, 800}, kScreen,
         {744, 658, 1024, 768}},
        {"pushed back from the left and top edges", {0, 0, 280, 110}, {-200, -100, 0, 0}, kScreen,
         {0, 0, 280, 110}},
        {"a work area that does not start at the origin", {0, 0, 280, 110}, {0, 0, 100, 100}, {0, 30, 1024, 768},
         {0, 30, 280, 140}},
        {"larger than the work area: its top-left corner", {0, 0, 1200, 900}, kScreen, kScreen,
         {0, 0, 1200, 900}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(centredOn(c.window, c.on, c.workArea), c.expected) << c.name;
    }
}

TEST(WindowPlacementTest, CentredByThePartThatShows) {
    struct Case {
        const char* name;
        PixelRect window;
        PixelRect visible;
        PixelRect on;
        PixelRect workArea;
        PixelRect expected;
    };
    const Case cases[] = {
        {"the skin of the main dialog on the screen", {0, 0, 600, 462}, {0, 0, 527, 338}, kScreen, kScreen,
         {248, 215, 848, 677}},
        {"a shape that starts inside its window", {100, 50, 700, 512}, {110, 60, 637, 398}, kScreen, kScreen,
         {238, 205, 838, 667}},
        {"a window without a shape: the whole window", {5, 7, 285, 117}, {5, 7, 285, 117}, kScreen, kScreen,
         {372, 329, 652, 439}},
        {"the shape kept on the work area, not the window", {0, 0, 600, 462}, {0, 0, 527, 338},
         {-400, -300, 0, 0}, kScreen, {0, 0, 600, 462}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(centredByVisiblePart(c.window, c.visible, c.on, c.workArea), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace brisko
