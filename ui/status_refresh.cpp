#include "ui/status_refresh.h"

namespace brisko {

void StatusRefresh::start() {
    scanning_ = true;
    drawnInScan_ = false;
    holding_ = false;
}

bool StatusRefresh::itemArrived(std::uint32_t now) {
    if (!scanning_) return true;
    holding_ = true;
    return tick(now);
}

bool StatusRefresh::tick(std::uint32_t now) {
    // Unsigned difference: right across the clock's wrap.
    if (!holding_ || (drawnInScan_ && now - lastDrawing_ < kIntervalMs)) return false;
    drawnInScan_ = true;
    lastDrawing_ = now;
    holding_ = false;
    return true;
}

bool StatusRefresh::finish() {
    scanning_ = false;
    const bool held = holding_;
    holding_ = false;
    return held;
}

}  // namespace brisko
