#pragma once
// The skinned dialog that asks every question of the program.
#include <string>

#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/gdi_handles.h"
#include "ui/win32/message_dialog.h"
#include "ui/message_dialog_form.h"
#include "ui/win32/skinned_button.h"

namespace brisko {

class CMessageDialog : public CDialog {
public:
    // The owner, null for none, is the window the dialog belongs to, is
    // centred on and measures the screen's font size on.
    CMessageDialog(HWND owner, const char* text, const char* caption, unsigned flags);

    // Runs the dialog; the button pressed, one of the kAnswer values.
    int ask();

protected:
    void doDataExchange() override;
    BOOL onInitDialog() override;
    void onOK() override { endDialog(kAnswerOk); }
    void onCancel() override { endDialog(closeAnswer(form_.buttons)); }
    bool onCommand(int id, int code) override;
    HBRUSH onCtlColor(HDC dc, HWND control, int kind, HBRUSH frameworkBrush) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void layOut();
    // The icon control takes its picture's size, keeping its place: the
    // template's is smaller, and would cut the picture.
    void fitIconToPicture();
    HBITMAP loadIconPicture() const;
    // With large fonts the text area reaches down into the buttons' row:
    // it goes under them and leaves them unpainted.
    void keepTextUnderButtons();
    void paintIcon();

    CStatic icon_;
    NCExButton yes_;
    NCExButton ok_;
    NCExButton no_;
    NCExButton singleOk_;
    NCExButton cancel_;
    CStatic text_;
    HWND owner_;
    // Background of the dialog and of its static texts.
    BrushObject lightBlueBrush_;
    MessageDialogForm form_;
    std::string messageText_;
    std::string messageCaption_;
};

}  // namespace brisko
