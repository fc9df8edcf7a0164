#include "ui/framework/dialog.h"

namespace brisko {

INT_PTR CDialog::doModal(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, &CDialog::dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::onInitDialog() {
    doDataExchange();
    return TRUE;
}

INT_PTR CALLBACK CDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        self->window_ = window;
        return self->onInitDialog();
    }
    // Messages before WM_INITDIALOG (the font, creation) reach no object.
    auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return FALSE;
    }
    return self->dispatch(message, wParam, lParam);
}

INT_PTR CDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (onCommand(id, HIWORD(wParam))) return TRUE;
            if (id == IDOK) onOK();
            if (id == IDCANCEL) onCancel();
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            CControl* control = CControl::fromHandle(item->hwndItem);
            if (control == nullptr) return FALSE;
            control->drawItem(*item);
            return TRUE;
        }
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: {
            // A dialog procedure returns the brush itself for these.
            const auto frameworkBrush = reinterpret_cast<HBRUSH>(DefWindowProcA(window_, message, wParam, lParam));
            return reinterpret_cast<INT_PTR>(onCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                                        static_cast<int>(message - WM_CTLCOLORMSGBOX), frameworkBrush));
        }
        default: {
            LRESULT result = 0;
            if (!onMessage(message, wParam, lParam, result)) return FALSE;
            SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
}

}  // namespace brisko
