#pragma once
// The window-message seam over SendMessageA, PeekMessageA and
// DispatchMessageA, and FindWindowA for a title.
#include "platform/window_messaging.h"

namespace brisko {

class Win32WindowMessaging final : public WindowMessaging {
public:
    void sendMessage(WindowHandle window, std::uint32_t id) override;
    bool takeMessage(WindowMessage& message) override;
    void dispatchMessage(const WindowMessage& message) override;
    bool windowTitled(const char* title) override;
};

}  // namespace brisko
