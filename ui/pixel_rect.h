#pragma once
// A rectangle in pixels, laid out as the system's RECT: right and bottom lie
// just outside it.
#include <cstdint>

namespace brisko {

struct PixelRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};

inline bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace brisko
