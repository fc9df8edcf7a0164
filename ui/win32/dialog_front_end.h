#pragma once
// The front end of brisko.exe's scan: the main dialog's window, with every
// question asked in the program's own message dialog.
#include "ui/win32/message_dialog.h"
#include "ui/window_front_end.h"

namespace brisko {

class DialogFrontEnd : public WindowFrontEnd {
public:
    using WindowFrontEnd::WindowFrontEnd;

    int ask(const Question& question) override {
        return ShowMessageDialog(question.text, question.caption, question.flags);
    }
};

}  // namespace brisko
