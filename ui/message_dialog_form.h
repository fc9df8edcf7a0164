#pragma once
// What the message dialog shows for the flags of the system message box:
// which buttons, which icon picture, and what closing it answers.

namespace brisko {

enum class MessageButtons { okOnly, okCancel, yesNo };

// Bitmap resources of the four icon pictures.
constexpr int kIconInformationBitmap = 152;
constexpr int kIconQuestionBitmap = 153;
constexpr int kIconExclamationBitmap = 154;
constexpr int kIconStopBitmap = 155;

struct MessageDialogForm {
    MessageButtons buttons;
    int iconBitmapId;
};

MessageDialogForm messageDialogForm(unsigned flags);

// The answer when the dialog is closed without a button of its own (Escape,
// the close box): No where it asks Yes or No, else Cancel.
int closeAnswer(MessageButtons buttons);

}  // namespace brisko
