#pragma once
// Every question the program asks goes through its own message dialog.
// brisko.exe links the dialog of ui/win32; the tools, which nobody watches,
// link unattended_questions.cpp.

namespace brisko {

// Flag bits and results as in the system message box.
constexpr unsigned kMessageYesNo = 0x04;
constexpr unsigned kMessageIconQuestion = 0x20;
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Asks and returns the button pressed.
int ShowMessageDialog(const char* text, const char* caption, unsigned flags);

}  // namespace brisko
