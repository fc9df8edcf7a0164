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

}  // namespace
}  // namespace brisko
