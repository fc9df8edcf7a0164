#pragma once
// Tells the pointer really moving from a window coming up under a pointer
// that rests: the system reports both as a mouse move at the pointer's spot.
#include <cstdint>

namespace brisko {

struct PixelPoint {
    std::int32_t x;
    std::int32_t y;
};

class PointerRest {
public:
    // No resting spot: every move counts.
    PointerRest() = default;
    // The pointer rests at `spot` when the window comes up.
    explicit PointerRest(PixelPoint spot) : spot_(spot), resting_(true) {}

    // Whether a mouse move to `to` (on the screen) is the pointer moving.
    // Once it has left its resting spot, every move counts.
    bool moved(PixelPoint to) {
        if (resting_ && to.x == spot_.x && to.y == spot_.y) return false;
        resting_ = false;
        return true;
    }

private:
    PixelPoint spot_{};
    bool resting_ = false;
};

}  // namespace brisko
