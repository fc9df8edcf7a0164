#include "ui/win32/message_dialog_window.h"

#include "base/program_identity.h"
#include "resources/resource_ids.h"
#include "ui/message_dialog_layout.h"
#include "ui/win32/screen_areas.h"

namespace brisko {
namespace {

PixelRect relativeTo(const RECT& origin, const RECT& rect) {
    return PixelRect{rect.left - origin.left, rect.top - origin.top, rect.right - origin.left,
                     rect.bottom - origin.top};
}

RECT toRect(const PixelRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

// The screen the window shows on (the whole screen for none) has 120
// logical pixels per inch or more.
bool largeFontsOn(HWND window) {
    WindowDC screen(window);
    return GetDeviceCaps(screen.get(), LOGPIXELSX) >= 120;
}

}  // namespace

CMessageDialog::CMessageDialog(HWND owner, const char* text, const char* caption, unsigned flags)
    : CDialog(IDD_MESSAGE),
      owner_(owner),
      form_(messageDialogForm(flags)),
      messageText_(text != nullptr ? text : ""),
      messageCaption_(caption != nullptr ? caption : "") {}

void CMessageDialog::doDataExchange() {
    bindControl(IDC_MESSAGE_ICON, icon_);
    bindControl(IDYES, yes_);
    bindControl(IDOK, ok_);
    bindControl(IDNO, no_);
    bindControl(IDC_SINGLE_OK, singleOk_);
    bindControl(IDCANCEL, cancel_);
    bindControl(IDC_MESSAGE_TEXT, text_);
}

BOOL CMessageDialog::onInitDialog() {
    CDialog::onInitDialog();
    layOut();
    fitIconToPicture();
    keepTextUnderButtons();
    singleOk_.show(form_.buttons == MessageButtons::okOnly);
    ok_.show(form_.buttons == MessageButtons::okCancel);
    cancel_.show(form_.buttons == MessageButtons::okCancel);
    yes_.show(form_.buttons == MessageButtons::yesNo);
    no_.show(form_.buttons == MessageButtons::yesNo);
    const struct {
        int id;
        NCExButton& button;
    } buttons[] = {{IDOK, ok_}, {IDC_SINGLE_OK, singleOk_}, {IDCANCEL, cancel_}, {IDYES, yes_}, {IDNO, no_}};
    for (const auto& entry : buttons) entry.button.loadSkin(entry.id, window_);
    text_.setText(messageText_);
    setText(messageCaption_.empty() ? programTitle : messageCaption_.c_str());
    // On what the owner shows of itself, or on the screen while it is minimised.
    if (owner_ != nullptr) CentreOn(window_, IsIconic(owner_) ? WorkArea() : VisibleArea(owner_));
    return TRUE;
}

void CMessageDialog::layOut() {
    const RECT dialog = windowRect();
    CWindow* const buttons[] = {&singleOk_, &ok_, &cancel_, &yes_, &no_};
    MessageDialogRects before{};
    before.dialog = relativeTo(dialog, dialog);
    before.text = relativeTo(dialog, text_.windowRect());
    before.icon = relativeTo(dialog, icon_.windowRect());
    for (int i = 0; i < 5; ++i) before.buttons[i] = relativeTo(dialog, buttons[i]->windowRect());

    const MessageDialogRects after = layoutMessageDialog(before, messageText_.size(), largeFontsOn(owner_));
    // The dialog goes to the screen origin first; the children take their
    // rectangles, measured from its outer corner, as client positions.
    moveTo(toRect(after.dialog));
    text_.moveTo(toRect(after.text));
    for (int i = 0; i < 5; ++i) buttons[i]->moveTo(toRect(after.buttons[i]));
    if (messageDialogGrowth(messageText_.size()).iconMoves) icon_.moveTo(toRect(after.icon));
}

bool CMessageDialog::onCommand(int id, int code) {
    if (code != BN_CLICKED) return false;
    switch (id) {
        case IDYES:
            endDialog(kAnswerYes);
            return true;
        case IDNO:
            endDialog(kAnswerNo);
            return true;
        case IDC_SINGLE_OK:
            endDialog(kAnswerOk);
            return true;
        default:
            return false;
    }
}

HBRUSH CMessageDialog::onCtlColor(HDC dc, HWND, int kind, HBRUSH frameworkBrush) {
    SetBkMode(dc, TRANSPARENT);
    if (kind != CTLCOLOR_DLG && kind != CTLCOLOR_STATIC) return frameworkBrush;
    if (!lightBlueBrush_) lightBlueBrush_.reset(CreateSolidBrush(RGB(207, 233, 254)));
    return lightBlueBrush_.get();
}

bool CMessageDialog::onMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_PAINT) return false;
    {
        PaintDC paint(window_);
    }
    paintIcon();
    result = 0;
    return true;
}

HBITMAP CMessageDialog::loadIconPicture() const {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(form_.iconBitmapId),
                                           IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

void CMessageDialog::fitIconToPicture() {
    BitmapObject picture(loadIconPicture());
    BITMAP size{};
    if (!picture || GetObjectA(picture.get(), sizeof size, &size) == 0) return;
    SetWindowPos(icon_.handle(), nullptr, 0, 0, size.bmWidth, size.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMessageDialog::keepTextUnderButtons() {
    // A static takes no tab stop, so the buttons' tab order stays as it is.
    SetWindowLongA(text_.handle(), GWL_STYLE, GetWindowLongA(text_.handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(text_.handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMessageDialog::paintIcon() {
    // Loaded anew for every paint, and gone again after it.
    BitmapObject picture(loadIconPicture());
    if (!picture) return;
    WindowDC target(icon_.handle());
    if (!target) return;
    RECT area{};
    GetClientRect(icon_.handle(), &area);
    MemoryDC memory(target.get());
    Selection selected(memory.get(), picture.get());
    if (!selected.succeeded()) return;
    BitBlt(target.get(), area.left, area.top, area.right, area.bottom, memory.get(), 0, 0, SRCCOPY);
}

int CMessageDialog::ask() { return static_cast<int>(doModal(owner_)); }

int ShowMessageDialog(HWND owner, const char* text, const char* caption, unsigned flags) {
    CMessageDialog dialog(owner, text, caption, flags);
    return dialog.ask();
}

}  // namespace brisko
