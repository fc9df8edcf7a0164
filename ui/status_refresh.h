#pragma once
// How often the status text is redrawn while a scan runs. The scan shows
// every entry it reaches, thousands a second: far more than anyone can
// read, and each drawing costs far more than walking past the entry. So
// during a scan the text is drawn at most once an interval; an item that
// comes sooner is held, and the newest held item is drawn as soon as the
// interval is over (at the next item or the next tick) or when the scan
// ends, so the item the scan stays on always reaches the screen.
//
// Times are a millisecond clock read by the caller (the system's tick
// count), which may wrap around.
#include <cstdint>

namespace brisko {

class StatusRefresh {
public:
    // About 30 drawings a second.
    static constexpr std::uint32_t kIntervalMs = 33;

    // A scan starts: from now on items are paced.
    void start();
    // A new item: true when it is to be drawn now. Outside a scan, always.
    bool itemArrived(std::uint32_t now);
    // A tick of the scan's clock: true when a held item is to be drawn now.
    bool tick(std::uint32_t now);
    // The scan has ended: true when an item is still held, to be drawn now.
    // Items are no longer paced.
    bool finish();

private:
    bool scanning_ = false;
    // Nothing drawn yet in this scan: the next item is drawn at once.
    bool drawnInScan_ = false;
    std::uint32_t lastDrawing_ = 0;
    bool holding_ = false;
};

}  // namespace brisko
