#pragma once
// A modal dialog from a dialog template. One dialog procedure for every
// dialog: it keeps `this` in the window's GWLP_USERDATA from WM_INITDIALOG
// on and dispatches, in one switch, to the virtual handlers below.
#include "platform/win32/windows_api.h"
#include "ui/framework/control.h"
#include "ui/framework/window.h"

namespace brisko {

class CDialog : public CWindow {
public:
    explicit CDialog(int templateId) : templateId_(templateId) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    // Runs the dialog and returns what it ended with; -1 when it could not
    // be created.
    INT_PTR doModal(HWND owner);
    void endDialog(INT_PTR result) const { EndDialog(window_, result); }

protected:
    // Binds the control objects to the template's controls.
    virtual void doDataExchange() {}
    // The controls are bound when this runs. TRUE: the dialog manager gives
    // the focus to the first visible, enabled tab stop.
    virtual BOOL onInitDialog();
    virtual void onOK() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    // A command from a control or the keyboard; true when handled.
    virtual bool onCommand(int /*id*/, int /*code*/) { return false; }
    // Colours of the dialog and its controls; returns the brush to paint
    // with. frameworkBrush is what the system would use.
    virtual HBRUSH onCtlColor(HDC /*dc*/, HWND /*control*/, int /*kind*/, HBRUSH frameworkBrush) {
        return frameworkBrush;
    }
    // Every other message; true when handled, with the message's result.
    virtual bool onMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }

    // Binds a control object to the control with that id.
    void bindControl(int id, CControl& control) const { control.bind(item(id)); }
    void bindControl(int id, CWindow& control) const { control.attachHandle(item(id)); }

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
};

}  // namespace brisko
