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

private:
    WindowHandle window_;
};

}  // namespace brisko
