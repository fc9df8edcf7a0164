#pragma once
// The parts of the screen that windows are placed on, and the placing.
#include "platform/win32/windows_api.h"
#include "ui/pixel_rect.h"

namespace brisko {

// The screen less the task bar.
PixelRect WorkArea();

// What the window shows of itself on the screen: the bounding box of its
// shape, or its whole rectangle when it has none.
PixelRect VisibleArea(HWND window);

PixelRect WindowArea(HWND window);

// Moves the window so that what it shows of itself is centred on `on`, kept
// on the work area. Neither activates it nor changes its Z order.
void CentreOn(HWND window, const PixelRect& on);

}  // namespace brisko
