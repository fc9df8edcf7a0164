#pragma once
// Push buttons drawn wholly from bitmaps named after their window text:
// TEXT_NOTFOCUS normally, TEXT_FOCUS while the mouse is over the button or it
// has the focus, TEXT_DISABLE when disabled. The button takes the size of its
// normal picture. Only a pointer that moves hovers: a window that comes up
// under a resting pointer leaves the focus where it is. CExButton, on the
// main dialog, shows a hand over itself; NCExButton, on the message dialog,
// keeps the arrow.
#include "ui/framework/control.h"
#include "ui/framework/gdi_handles.h"
#include "ui/pointer_rest.h"

namespace brisko {

class SkinnedButton : public CControl {
public:
    // Binds to control id of the parent if not bound yet, then loads the
    // pictures named after the window text. 0 when it cannot bind or the
    // text is empty, else 1 whether or not the pictures loaded.
    int loadSkin(int id, HWND parent);
    // Replaces the pictures; 0 when the focus or normal one is missing
    // (the disabled one is optional) or the button cannot take its size.
    int loadSkinBitmaps(const char* focusName, const char* notFocusName, const char* disableName);

    void drawItem(const DRAWITEMSTRUCT& item) override;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int fitToBitmap();
    // Whether a mouse move at this client point is the pointer moving.
    bool pointerMoved(LPARAM point);
    void trackHover(LPARAM point);
    void setHighlighted(bool highlighted);

    bool highlighted_ = false;
    // Where the pointer stood when the button took its pictures.
    PointerRest pointerRest_;
    RECT bitmapRect_{};
    BitmapObject disableBitmap_;
    BitmapObject notFocusBitmap_;
    BitmapObject focusBitmap_;
};

class CExButton : public SkinnedButton {
public:
    CExButton() = default;
    ~CExButton() override;
    // The help program's hand, else the system's own; once per button.
    void loadHandCursor();

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HCURSOR handCursor_ = nullptr;
};

class NCExButton : public SkinnedButton {};

}  // namespace brisko
