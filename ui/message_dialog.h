#pragma once
// Every question the program asks goes through its own message dialog.
// brisko.exe links the dialog of ui/win32; the tools, which nobody watches,
// link unattended_questions.cpp.

#include "platform/message_box_flags.h"

namespace brisko {

// Results as in the system message box.
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Asks and returns the button pressed.
int ShowMessageDialog(const char* text, const char* caption, unsigned flags);

}  // namespace brisko
