#pragma once
// A window by its handle: a thin value that owns nothing, with the few
// calls the dialogs make on their windows and controls.
#include <string>

#include "platform/win32/windows_api.h"

namespace brisko {

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND window) : window_(window) {}

    HWND handle() const { return window_; }
    void attachHandle(HWND window) { window_ = window; }

    void show(bool visible) const { ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }
    void enable(bool enabled) const { EnableWindow(window_, enabled ? TRUE : FALSE); }
    void setText(const char* text) const { SetWindowTextA(window_, text); }
    void setText(const std::string& text) const { SetWindowTextA(window_, text.c_str()); }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(window_, message, wParam, lParam);
    }
    void invalidate() const { InvalidateRect(window_, nullptr, FALSE); }
    RECT windowRect() const {
        RECT rect{};
        GetWindowRect(window_, &rect);
        return rect;
    }
    void moveTo(const RECT& rect, bool repaint = true) const {
        MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }

protected:
    HWND window_ = nullptr;
};

}  // namespace brisko
