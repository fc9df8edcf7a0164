#include "ui/child_scaling.h"

namespace brisko {

PixelRect scaledScreenRect(const PixelRect& screenRect, int clientWidth, int clientHeight,
                           int referenceWidth, int referenceHeight) {
    const double fx = static_cast<double>(clientWidth) / referenceWidth;
    const double fy = static_cast<double>(clientHeight) / referenceHeight;
    return PixelRect{static_cast<int>(screenRect.left / fx), static_cast<int>(screenRect.top / fy),
                     static_cast<int>(screenRect.right / fx), static_cast<int>(screenRect.bottom / fy)};
}

}  // namespace brisko
