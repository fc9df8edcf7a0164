#include "ui/win32/screen_areas.h"

#include "ui/framework/gdi_handles.h"
#include "ui/window_placement.h"

namespace brisko {

PixelRect WorkArea() {
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    return PixelRect{work.left, work.top, work.right, work.bottom};
}

PixelRect WindowArea(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return PixelRect{rect.left, rect.top, rect.right, rect.bottom};
}

PixelRect VisibleArea(HWND window) {
    const PixelRect whole = WindowArea(window);
    // The region is measured from the window's top-left corner.
    RegionObject shape(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (!shape || GetWindowRgn(window, shape.get()) == ERROR || GetRgnBox(shape.get(), &box) == NULLREGION) {
        return whole;
    }
    return PixelRect{whole.left + box.left, whole.top + box.top, whole.left + box.right, whole.top + box.bottom};
}

void CentreOn(HWND window, const PixelRect& on) {
    const PixelRect placed = centredByVisiblePart(WindowArea(window), VisibleArea(window), on, WorkArea());
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace brisko
