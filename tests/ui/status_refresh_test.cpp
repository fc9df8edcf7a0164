#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/status_refresh.h"

namespace brisko {
namespace {

constexpr std::uint32_t kInterval = StatusRefresh::kIntervalMs;

enum class Event { kStart, kItem, kTick, kFinish };

struct Step {
    Event event;
    std::uint32_t at;
    // Whether the status text is drawn at this step.
    bool draws;
};

bool apply(StatusRefresh& refresh, const Step& step) {
    switch (step.event) {
        case Event::kStart:
            refresh.start();
            return false;
        case Event::kItem:
            return refresh.itemArrived(step.at);
        case Event::kTick:
            return refresh.tick(step.at);
        case Event::kFinish:
            return refresh.finish();
    }
    return false;
}

TEST(StatusRefreshTest, DrawsAtMostOnceAnIntervalAndAlwaysTheLastItem) {
    constexpr Event S = Event::kStart, I = Event::kItem, T = Event::kTick, F = Event::kFinish;
    const std::uint32_t t = 5000;
    // Just before the clock wraps around to 0.
    const std::uint32_t w = 0xFFFFFFF0u;
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"outside a scan every item is drawn", {{I, t, true}, {I, t, true}, {I, t + 1, true}}},
        {"the first item of a scan is drawn at once", {{S, t, false}, {I, t, true}}},
        {"an item within the interval is held, and drawn once the interval is over",
         {{S, t, false}, {I, t, true}, {I, t + 1, false}, {T, t + kInterval - 1, false}, {T, t + kInterval, true}}},
        {"a later item takes the held one's turn",
         {{S, t, false}, {I, t, true}, {I, t + 1, false}, {I, t + 2, false}, {I, t + kInterval, true},
          {T, t + 3 * kInterval, false}}},
        {"an item after a quiet interval is drawn at once",
         {{S, t, false}, {I, t, true}, {I, t + kInterval, true}, {I, t + 5 * kInterval, true}}},
        {"ticks with nothing held draw nothing",
         {{S, t, false}, {T, t, false}, {I, t, true}, {T, t + kInterval, false}, {T, t + 9 * kInterval, false}}},
        {"the end draws the held item", {{S, t, false}, {I, t, true}, {I, t + 1, false}, {F, t + 2, true}}},
        {"the end draws nothing when the last item is on screen",
         {{S, t, false}, {I, t, true}, {I, t + 1, false}, {T, t + kInterval, true}, {F, t + kInterval, false}}},
        {"after the end every item is drawn again",
         {{S, t, false}, {I, t, true}, {F, t, false}, {I, t + 1, true}, {I, t + 2, true}}},
        {"a new scan draws its first item at once",
         {{S, t, false}, {I, t, true}, {F, t, false}, {S, t + 1, false}, {I, t + 1, true}, {I, t + 2, false}}},
        {"the interval holds across the clock's wrap",
         {{S, w, false}, {I, w, true}, {I, w + kInterval - 1, false}, {T, w + kInterval, true},
          {I, w + kInterval + 1, false}, {I, w + 2 * kInterval, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StatusRefresh refresh;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            EXPECT_EQ(apply(refresh, c.steps[i]), c.steps[i].draws);
        }
    }
}

// A scan that shows an item every 50 microseconds for a second, ticked
// every interval as the dialog's timer ticks: about 30 drawings instead of
// 20,000, and the last item on screen at the end.
TEST(StatusRefreshTest, AFastScanIsDrawnAboutThirtyTimesASecond) {
    StatusRefresh refresh;
    refresh.start();
    int drawings = 0;
    bool lastOnScreen = false;
    for (std::uint32_t microseconds = 0; microseconds < 1000000; microseconds += 50) {
        const std::uint32_t now = microseconds / 1000;
        lastOnScreen = refresh.itemArrived(now);
        if (lastOnScreen) ++drawings;
        if (microseconds % (kInterval * 1000) == 0 && refresh.tick(now)) ++drawings;
    }
    if (refresh.finish()) {
        ++drawings;
        lastOnScreen = true;
    }
    EXPECT_TRUE(lastOnScreen);
    EXPECT_GE(drawings, 29);
    EXPECT_LE(drawings, 32);
}

}  // namespace
}  // namespace brisko
