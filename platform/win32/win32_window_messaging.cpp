#include "platform/win32/windows_api.h"

#include "platform/win32/win32_window_messaging.h"

namespace brisko {

void Win32WindowMessaging::sendMessage(WindowHandle window, std::uint32_t id) {
    // The seam promises that a send to no window does nothing, whatever the
    // system version makes of a null window.
    if (window == 0) return;
    SendMessageA(reinterpret_cast<HWND>(window), id, 0, 0);
}

bool Win32WindowMessaging::takeMessage(WindowMessage& message) {
    MSG taken;
    if (!PeekMessageA(&taken, nullptr, 0, 0, PM_REMOVE)) return false;
    message.window = reinterpret_cast<WindowHandle>(taken.hwnd);
    message.id = taken.message;
    message.wParam = taken.wParam;
    message.lParam = taken.lParam;
    message.time = taken.time;
    message.x = taken.pt.x;
    message.y = taken.pt.y;
    return true;
}

void Win32WindowMessaging::dispatchMessage(const WindowMessage& message) {
    MSG rebuilt;
    rebuilt.hwnd = reinterpret_cast<HWND>(message.window);
    rebuilt.message = message.id;
    rebuilt.wParam = message.wParam;
    rebuilt.lParam = message.lParam;
    rebuilt.time = message.time;
    rebuilt.pt.x = message.x;
    rebuilt.pt.y = message.y;
    TranslateMessage(&rebuilt);
    DispatchMessageA(&rebuilt);
}

bool Win32WindowMessaging::windowTitled(const char* title) { return FindWindowA(nullptr, title) != nullptr; }

}  // namespace brisko
