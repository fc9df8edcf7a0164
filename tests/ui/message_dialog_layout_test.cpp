#include <gtest/gtest.h>

#include <string>

#include "ui/message_dialog_layout.h"

namespace brisko {
namespace {

TEST(MessageDialogLayoutTest, GrowthByTextLength) {
    struct Case {
        std::size_t length;
        int step, widen, heighten, shift;
        bool iconMoves;
    };
    const Case cases[] = {
        {0, 10, 12, 7, 6, false},
        // "Terminate the Scan now?"
        {23, 10, 12, 7, 6, false},
        {29, 10, 12, 7, 6, false},
        {30, 20, 25, 14, 12, false},
        {89, 30, 37, 21, 18, false},
        {90, 40, 50, 28, 25, true},
        // The restart question.
        {95, 40, 50, 28, 25, true},
        {185, 70, 87, 49, 43, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.length));
        const MessageDialogGrowth growth = messageDialogGrowth(c.length);
        EXPECT_EQ(growth.step, c.step);
        EXPECT_EQ(growth.widen, c.widen);
        EXPECT_EQ(growth.heighten, c.heighten);
        EXPECT_EQ(growth.buttonShift, c.shift);
        EXPECT_EQ(growth.iconMoves, c.iconMoves);
    }
}

MessageDialogRects templateRects() {
    MessageDialogRects rects{};
    rects.dialog = {0, 0, 287, 115};
    rects.text = {76, 30, 278, 61};
    rects.icon = {25, 22, 63, 61};
    rects.buttons[0] = {97, 84, 172, 107};
    rects.buttons[1] = {38, 84, 113, 107};
    rects.buttons[2] = {155, 84, 230, 107};
    rects.buttons[3] = {38, 64, 113, 87};
    rects.buttons[4] = {152, 64, 227, 87};
    return rects;
}

TEST(MessageDialogLayoutTest, GrowsTheDialogAndTheTextAndPutsTheButtonsOnOneRow) {
    const MessageDialogRects before = templateRects();
    const MessageDialogRects after = layoutMessageDialog(before, 95, false);
    EXPECT_EQ(after.dialog, (PixelRect{0, 0, 337, 143}));
    EXPECT_EQ(after.text, (PixelRect{76, 5, 328, 64}));
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE("button " + std::to_string(i));
        EXPECT_EQ(after.buttons[i].left, before.buttons[i].left + 25);
        EXPECT_EQ(after.buttons[i].top, 143 - 65);
        EXPECT_EQ(after.buttons[i].width(), before.buttons[i].width());
        EXPECT_EQ(after.buttons[i].height(), before.buttons[i].height());
    }
}

TEST(MessageDialogLayoutTest, TheIconMovesUpOnlyForTextsOfNinetyBytesOrMore) {
    const MessageDialogRects before = templateRects();
    EXPECT_EQ(layoutMessageDialog(before, 89, false).icon, before.icon);
    // Thirty pixels above where the text stood before it moved.
    EXPECT_EQ(layoutMessageDialog(before, 90, false).icon, (PixelRect{25, 0, 63, 39}));
}

TEST(MessageDialogLayoutTest, LargeFontsMakeTheTextTaller) {
    const MessageDialogRects before = templateRects();
    const PixelRect normal = layoutMessageDialog(before, 23, false).text;
    const PixelRect large = layoutMessageDialog(before, 23, true).text;
    EXPECT_EQ(large.height(), normal.height() + 25);
    EXPECT_EQ(large.top, normal.top);
    EXPECT_EQ(large.width(), normal.width());
}

}  // namespace
}  // namespace brisko
