#pragma once
// Where a window goes when it is centred on a rectangle and kept on the
// work area of the screen.
#include "ui/pixel_rect.h"

namespace brisko {

// The window's rectangle, of the same size, centred on `on` and then moved
// as little as needed to lie on `workArea`; a window larger than the work
// area keeps its top-left corner on the work area's.
PixelRect centredOn(const PixelRect& window, const PixelRect& on, const PixelRect& workArea);

// The window's rectangle moved so that `visible`, the part of it that shows
// (a shaped window's outline), is centred on `on` and kept on the work area.
PixelRect centredByVisiblePart(const PixelRect& window, const PixelRect& visible, const PixelRect& on,
                               const PixelRect& workArea);

}  // namespace brisko
