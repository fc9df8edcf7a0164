#pragma once
// The window messages of the scan: synchronous sends to the report window
// and the thread's message queue that the scan keeps pumping.
#include <cstdint>

#include "platform/platform_types.h"

namespace brisko {

class WindowMessaging {
public:
    virtual ~WindowMessaging() = default;

    // Sends a message with both parameters 0 and returns when the window has
    // handled it. A send to window 0 has no effect.
    virtual void sendMessage(WindowHandle window, std::uint32_t id) = 0;
    // Removes one pending message of the thread's queue, any window, any
    // number; false when there is none.
    virtual bool takeMessage(WindowMessage& message) = 0;
    // Translates and dispatches a taken message.
    virtual void dispatchMessage(const WindowMessage& message) = 0;
    // Whether a top-level window of any program carries exactly this title.
    virtual bool windowTitled(const char* title) = 0;
};

}  // namespace brisko
