#pragma once
// The front end of brisko.exe's scan: the main dialog's window, with every
// question asked in the program's own message dialog, owned by that window,
// and the pump paced by the system's tick count.
#include "platform/win32/windows_api.h"
#include "ui/win32/message_dialog.h"
#include "ui/window_front_end.h"

namespace brisko {

class DialogFrontEnd : public WindowFrontEnd {
public:
    explicit DialogFrontEnd(HWND window)
        : WindowFrontEnd(reinterpret_cast<WindowHandle>(window)), window_(window) {}

    int ask(const Question& question) override {
        return ShowMessageDialog(window_, question.text, question.caption, question.flags);
    }
    PendingEvent takeEvent() override { return takeEventPaced(GetTickCount()); }

private:
    HWND window_;
};

}  // namespace brisko
