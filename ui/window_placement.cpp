#include "ui/window_placement.h"

namespace brisko {

PixelRect centredOn(const PixelRect& window, const PixelRect& on, const PixelRect& workArea) {
    const std::int32_t width = window.width();
    const std::int32_t height = window.height();
    std::int32_t left = on.left + (on.width() - width) / 2;
    std::int32_t top = on.top + (on.height() - height) / 2;
    if (left + width > workArea.right) left = workArea.right - width;
    if (top + height > workArea.bottom) top = workArea.bottom - height;
    if (left < workArea.left) left = workArea.left;
    if (top < workArea.top) top = workArea.top;
    return PixelRect{left, top, left + width, top + height};
}

PixelRect centredByVisiblePart(const PixelRect& window, const PixelRect& visible, const PixelRect& on,
                               const PixelRect& workArea) {
    const PixelRect placed = centredOn(visible, on, workArea);
    const std::int32_t dx = placed.left - visible.left;
    const std::int32_t dy = placed.top - visible.top;
    return PixelRect{window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
}

}  // namespace brisko
