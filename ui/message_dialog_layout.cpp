#include "ui/message_dialog_layout.h"

namespace brisko {
namespace {

PixelRect sized(int left, int top, int width, int height) {
    return PixelRect{left, top, left + width, top + height};
}

// The text rises by this much, and the icon above it by a little more.
constexpr int kTextRise = 25;
constexpr int kIconAboveText = 30;
// Extra height of the text on screens of 120 logical pixels per inch or more.
constexpr int kLargeFontsExtra = 25;
// The buttons' top, measured up from the dialog's bottom edge.
constexpr int kButtonRowFromBottom = 65;

}  // namespace

MessageDialogGrowth messageDialogGrowth(std::size_t textLength) {
    const int step = static_cast<int>(textLength / 30 + 1) * 10;
    const int widen = static_cast<int>(step * 1.25);
    return MessageDialogGrowth{step, widen, step - widen / 4, widen / 2, step > 30};
}

MessageDialogRects layoutMessageDialog(const MessageDialogRects& before, std::size_t textLength,
                                       bool largeFonts) {
    const MessageDialogGrowth growth = messageDialogGrowth(textLength);
    MessageDialogRects after = before;
    after.dialog = sized(0, 0, before.dialog.width() + growth.widen, before.dialog.height() + growth.heighten);

    const PixelRect& text = before.text;
    after.text = sized(text.left, text.top - kTextRise, text.width() + growth.widen,
                       text.height() + growth.heighten + (largeFonts ? kLargeFontsExtra : 0));

    const int buttonTop = after.dialog.bottom - kButtonRowFromBottom;
    for (int i = 0; i < 5; ++i) {
        const PixelRect& button = before.buttons[i];
        after.buttons[i] = sized(button.left + growth.buttonShift, buttonTop, button.width(), button.height());
    }
    if (growth.iconMoves) {
        after.icon = sized(before.icon.left, text.top - kIconAboveText, before.icon.width(), before.icon.height());
    }
    return after;
}

}  // namespace brisko
