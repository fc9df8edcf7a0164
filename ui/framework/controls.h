#pragma once
// The plain controls of the dialogs, bound to their windows by the dialog's
// data exchange; none of them changes the control's behaviour.
#include <string>

#include "ui/framework/window.h"

namespace brisko {

class CButton : public CWindow {};
class CStatic : public CWindow {};

class CListBox : public CWindow {
public:
    int count() const { return static_cast<int>(send(LB_GETCOUNT)); }
    void clear() const { send(LB_RESETCONTENT); }
    void add(const char* line) const { send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line)); }
    void select(int index) const { send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
    // The line at index, or an empty text when there is none.
    std::string line(int index) const;
    int horizontalExtent() const { return static_cast<int>(send(LB_GETHORIZONTALEXTENT)); }
    void setHorizontalExtent(int extent) const { send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent)); }
};

inline std::string CListBox::line(int index) const {
    const LRESULT length = send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

}  // namespace brisko
