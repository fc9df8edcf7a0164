#pragma once
// How the message dialog grows with the length of its text. Every rectangle
// is a window rectangle relative to the dialog's outer top-left corner,
// which the dialog puts at the screen origin before it reads them.
#include <cstddef>

#include "ui/pixel_rect.h"

namespace brisko {

struct MessageDialogGrowth {
    int step;         // (length / 30 + 1) * 10
    int widen;        // step * 1.25, fraction dropped
    int heighten;     // step - widen / 4
    int buttonShift;  // widen / 2
    bool iconMoves;   // long texts move the icon up
};

MessageDialogGrowth messageDialogGrowth(std::size_t textLength);

// The dialog's window rectangles as the template made them.
struct MessageDialogRects {
    PixelRect dialog;
    PixelRect text;
    PixelRect icon;
    // Single OK, OK, Cancel, YES, NO, in that order.
    PixelRect buttons[5];
};

// Where everything goes. Buttons keep the size they had; they take the size
// of their bitmaps afterwards, keeping their position.
MessageDialogRects layoutMessageDialog(const MessageDialogRects& before, std::size_t textLength,
                                       bool largeFonts);

}  // namespace brisko
