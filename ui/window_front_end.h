#pragma once
// The front end of a scan shown in a window: every report line and every
// shown item is a message sent to the window, which reads them from the
// scan's record, and the pump takes the thread's window messages.
#include <cstdint>

#include "platform/platform_types.h"
#include "session/scan_front_end.h"

namespace brisko {

// The window's two messages; the plain numbers, not application ones.
constexpr std::uint32_t kShowItemMessage = 10;
constexpr std::uint32_t kAppendLineMessage = 11;

// After a look that found the thread's queue empty, a paced pump leaves it
// alone this long: the stop key and buttons are still answered within it.
constexpr std::uint32_t kQuietQueueIntervalMs = 10;

// Questions are left to the window's own dialogs.
class WindowFrontEnd : public ScanFrontEnd {
public:
    explicit WindowFrontEnd(WindowHandle window) : window_(window) {}

    void appendLine(const char* line) override;
    void showItem(const char* item) override;
    // Any message carrying the Escape key code is the stop key, whatever its
    // number; the end of the program or the window is a quit; every other
    // message is dispatched.
    PendingEvent takeEvent() override;
    // The same, looking at the queue only when it may hold something: after
    // a look that found a message the next pump looks again, after one that
    // found none the pumps within kQuietQueueIntervalMs of it do not. A look
    // asks the window system, which under Wine is a round trip to its
    // server and costs several times a step of the walk. now is a
    // millisecond clock that may wrap around.
    PendingEvent takeEventPaced(std::uint32_t now);

private:
    WindowHandle window_;
    bool queueSeenEmpty_ = false;
    std::uint32_t queueSeenEmptyAt_ = 0;
};

}  // namespace brisko
