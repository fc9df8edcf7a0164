#pragma once
// The main dialog's subtitle: white bold letters on blue character cells.
#include <string>

#include "ui/framework/control.h"

namespace brisko {

class CColorLabel : public CControl {
public:
    // The font to draw with, owned by the dialog, which outlives the label.
    void setLabelFont(HFONT font) { font_ = font; }

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint();

    std::string text_;
    RECT clientRect_{};
    COLORREF textColour_ = RGB(255, 255, 255);
    HFONT font_ = nullptr;
};

}  // namespace brisko
