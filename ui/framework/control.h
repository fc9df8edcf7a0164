#pragma once
// A control whose messages an object of ours handles: binding it replaces
// the control's window procedure with one that finds the object (kept in a
// window property) and calls its WindowProc; the control's own procedure
// still does everything the object passes on.
#include "ui/framework/window.h"

namespace brisko {

class CControl : public CWindow {
public:
    CControl() = default;
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;
    virtual ~CControl();

    // Binds the object to the control; false when there is no control or it
    // is bound already.
    bool bind(HWND control);
    bool bound() const { return window_ != nullptr; }

    // The object bound to a control, or null.
    static CControl* fromHandle(HWND control);

    // Owner-drawn controls draw here; the dialog passes WM_DRAWITEM on.
    virtual void drawItem(const DRAWITEMSTRUCT&) {}

protected:
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the control itself does with the message.
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void unbind();

    WNDPROC controlOwnProc_ = nullptr;
};

}  // namespace brisko
