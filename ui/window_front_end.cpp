#include "ui/window_front_end.h"

#include "platform/platform.h"

namespace brisko {

// The window reads the line and the item from the record: the messages
// carry nothing.
void WindowFrontEnd::appendLine(const char*) { windows().sendMessage(window_, kAppendLineMessage); }

void WindowFrontEnd::showItem(const char*) { windows().sendMessage(window_, kShowItemMessage); }

PendingEvent WindowFrontEnd::takeEvent() {
    WindowMessage message;
    if (!windows().takeMessage(message)) return PendingEvent::kNone;
    if ((message.wParam & 0xFFFF) == kKeyEscape) return PendingEvent::kStopKey;
    if (message.id == kMessageQuit || message.id == kMessageDestroy) return PendingEvent::kQuit;
    windows().dispatchMessage(message);
    return PendingEvent::kNone;
}

}  // namespace brisko
