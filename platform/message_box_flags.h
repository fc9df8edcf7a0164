#pragma once
// Style flags and answers of the system message box, with the values
// Windows gives them: the system's own box takes them, and the program's
// message dialog and every front end's questions use the same ones.

namespace brisko {

// Buttons, in the low bits.
constexpr unsigned kMessageOk = 0x00;
constexpr unsigned kMessageOkCancel = 0x01;
constexpr unsigned kMessageYesNo = 0x04;

// Icons. Exclamation is the stop and question bits together.
constexpr unsigned kMessageIconStop = 0x10;
constexpr unsigned kMessageIconQuestion = 0x20;
constexpr unsigned kMessageIconExclamation = 0x30;
constexpr unsigned kMessageIconInformation = 0x40;

// The button pressed.
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

}  // namespace brisko
