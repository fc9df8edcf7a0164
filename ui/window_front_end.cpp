#include "ui/window_front_end.h"

#include "platform/platform.h"

namespace brisko {
namespace {

PendingEvent eventOf(const WindowMessage& message) {
    if ((message.wParam & 0xFFFF) == kKeyEscape) return PendingEvent::kStopKey;
    if (message.id == kMessageQuit || message.id == kMessageDestroy) return PendingEvent::kQuit;
    windows().dispatchMessage(message);
    return PendingEvent::kNone;
}

}  // namespace

// The window reads the line and the item from the record: the messages
// carry nothing.
void WindowFrontEnd::appendLine(const char*) { windows().sendMessage(window_, kAppendLineMessage); }

void WindowFrontEnd::showItem(const char*) { windows().sendMessage(window_, kShowItemMessage); }

PendingEvent WindowFrontEnd::takeEvent() {
    WindowMessage message;
    return windows().takeMessage(message) ? eventOf(message) : PendingEvent::kNone;
}

PendingEvent WindowFrontEnd::takeEventPaced(std::uint32_t now) {
    // Unsigned difference: right across the clock's wrap.
    if (queueSeenEmpty_ && now - queueSeenEmptyAt_ < kQuietQueueIntervalMs) return PendingEvent::kNone;
    WindowMessage message;
    queueSeenEmpty_ = !windows().takeMessage(message);
    queueSeenEmptyAt_ = now;
    return queueSeenEmpty_ ? PendingEvent::kNone : eventOf(message);
}

}  // namespace brisko
