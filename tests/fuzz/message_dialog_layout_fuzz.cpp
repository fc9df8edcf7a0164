// The message dialog's layout, for any text: the grown dialog stays at the
// origin, every control stays inside it with its size kept (the text grows
// with the dialog), and the growth is the arithmetic the layout states,
// done here in 64 bits so no overflow can hide.
#include <cstring>

#include "tests/fuzz/fuzz_check.h"
#include "ui/message_dialog_layout.h"

namespace {

using brisko::MessageDialogRects;
using brisko::PixelRect;

// The dialog as its template makes it at 96 pixels per inch, then at 120,
// where dialog units come out a quarter larger.
MessageDialogRects templateRects(int scaleInQuarters) {
    auto scaled = [scaleInQuarters](PixelRect rect) {
        return PixelRect{rect.left * scaleInQuarters / 4, rect.top * scaleInQuarters / 4,
                         rect.right * scaleInQuarters / 4, rect.bottom * scaleInQuarters / 4};
    };
    MessageDialogRects rects{};
    rects.dialog = scaled({0, 0, 287, 115});
    rects.text = scaled({76, 30, 278, 61});
    rects.icon = scaled({25, 22, 63, 61});
    rects.buttons[0] = scaled({97, 84, 172, 107});
    rects.buttons[1] = scaled({38, 84, 113, 107});
    rects.buttons[2] = scaled({155, 84, 230, 107});
    rects.buttons[3] = scaled({38, 64, 113, 87});
    rects.buttons[4] = scaled({152, 64, 227, 87});
    return rects;
}

bool inside(const PixelRect& rect, const PixelRect& bounds) {
    return rect.left >= bounds.left && rect.top >= bounds.top && rect.right <= bounds.right &&
           rect.bottom <= bounds.bottom && rect.width() > 0 && rect.height() > 0;
}

void checkLayout(std::size_t textLength, bool largeFonts) {
    const MessageDialogRects before = templateRects(largeFonts ? 5 : 4);
    const brisko::MessageDialogGrowth growth = brisko::messageDialogGrowth(textLength);
    const MessageDialogRects after = brisko::layoutMessageDialog(before, textLength, largeFonts);

    const long long step = static_cast<long long>(textLength / 30 + 1) * 10;
    const long long widen = step + step / 4;
    FUZZ_CHECK(growth.step == step && growth.widen == widen && growth.heighten == step - widen / 4 &&
               growth.buttonShift == widen / 2 && growth.iconMoves == (step > 30));

    FUZZ_CHECK(after.dialog.left == 0 && after.dialog.top == 0);
    FUZZ_CHECK(after.dialog.width() == before.dialog.width() + widen);
    FUZZ_CHECK(after.dialog.height() == before.dialog.height() + growth.heighten);
    FUZZ_CHECK(inside(after.text, after.dialog));
    FUZZ_CHECK(after.text.left == before.text.left && after.text.width() == before.text.width() + widen);
    FUZZ_CHECK(inside(after.icon, after.dialog));
    FUZZ_CHECK(after.icon.width() == before.icon.width() && after.icon.height() == before.icon.height());
    for (int i = 0; i < 5; ++i) {
        FUZZ_CHECK(inside(after.buttons[i], after.dialog));
        FUZZ_CHECK(after.buttons[i].width() == before.buttons[i].width());
        FUZZ_CHECK(after.buttons[i].height() == before.buttons[i].height());
        FUZZ_CHECK(after.buttons[i].top == after.buttons[0].top);
        // Below the text's top, so the row never rises over what it answers.
        FUZZ_CHECK(after.buttons[i].top > after.text.top);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text itself: only its length steers the layout.
    checkLayout(size, false);
    checkLayout(size, true);
    // Texts too long to be fuzz inputs, up to the 2 GiB a 32-bit process
    // can hold, spelled by the first four bytes.
    if (size >= 4) {
        std::uint32_t length = 0;
        std::memcpy(&length, data, sizeof length);
        checkLayout(length & 0x7FFFFFFF, data[4 % size] & 1);
    }
    return 0;
}
