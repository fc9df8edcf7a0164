#include "ui/framework/control.h"

namespace brisko {
namespace {
constexpr const char* kObjectProperty = "Brisko.Control";
}

CControl::~CControl() { unbind(); }

bool CControl::bind(HWND control) {
    if (control == nullptr || bound() || fromHandle(control) != nullptr) return false;
    if (!SetPropA(control, kObjectProperty, this)) return false;
    window_ = control;
    controlOwnProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CControl::controlProc)));
    return true;
}

void CControl::unbind() {
    if (!bound()) return;
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlOwnProc_));
    RemovePropA(window_, kObjectProperty);
    window_ = nullptr;
}

CControl* CControl::fromHandle(HWND control) { return static_cast<CControl*>(GetPropA(control, kObjectProperty)); }

LRESULT CControl::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultProc(message, wParam, lParam);
}

LRESULT CControl::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(controlOwnProc_, window_, message, wParam, lParam);
}

LRESULT CALLBACK CControl::controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CControl* self = fromHandle(window);
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window goes first; the object outlives it with the dialog.
        const WNDPROC own = self->controlOwnProc_;
        self->unbind();
        return CallWindowProcA(own, window, message, wParam, lParam);
    }
    return self->windowProc(message, wParam, lParam);
}

}  // namespace brisko
