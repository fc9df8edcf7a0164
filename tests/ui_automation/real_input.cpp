#include "real_input.h"

#include <algorithm>
#include <climits>

namespace driver {
namespace {

// Absolute pointer positions run from 0 to 65535 across the screen.
LONG normalised(LONG pixel, int screenSize) { return MulDiv(pixel, 65535, screenSize - 1); }

void send(INPUT* inputs, UINT count) { SendInput(count, inputs, sizeof(INPUT)); }

INPUT mouseAt(POINT screen, DWORD buttons) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = buttons | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

}  // namespace

void moveTo(POINT screen) {
    INPUT input = mouseAt(screen, 0);
    send(&input, 1);
}

void clickAt(POINT screen) {
    INPUT inputs[3] = {mouseAt(screen, 0), mouseAt(screen, MOUSEEVENTF_LEFTDOWN), mouseAt(screen, MOUSEEVENTF_LEFTUP)};
    send(inputs, 3);
}

void clickOn(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    clickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void pressKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    send(inputs, 2);
}

bool closeBoxOf(HWND window, POINT& at) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const LONG captionBottom = rect.top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME) * 2;
    // The box around every caption point the window calls its close box,
    // looked for in the right end of the caption.
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = rect.top; y < captionBottom; y += 2) {
        for (LONG x = rect.right - 1; x > rect.right - 80 && x > rect.left; x -= 2) {
            DWORD_PTR hit = 0;
            if (!SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &hit) ||
                hit != HTCLOSE) {
                continue;
            }
            box = RECT{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    }
    if (box.left > box.right) return false;
    at = POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    return true;
}

}  // namespace driver
