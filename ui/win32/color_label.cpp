#include "ui/win32/color_label.h"

#include "ui/framework/gdi_handles.h"

namespace brisko {

LRESULT CColorLabel::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return defaultProc(message, wParam, lParam);
    paint();
    return 0;
}

void CColorLabel::paint() {
    PaintDC dc(window_);
    GetClientRect(window_, &clientRect_);
    char text[260];
    GetWindowTextA(window_, text, sizeof text);
    text_ = text;
    SetTextColor(dc.get(), textColour_);
    Selection font(dc.get(), font_);
    // Opaque: only the character cells take the blue, the rest of the
    // label stays as the dialog painted it.
    SetBkColor(dc.get(), RGB(2, 77, 246));
    DrawTextA(dc.get(), text_.c_str(), -1, &clientRect_, DT_CENTER | DT_VCENTER);
}

}  // namespace brisko
