#include "ui/message_dialog_form.h"

#include "ui/message_dialog.h"

namespace brisko {
namespace {

constexpr unsigned kFlagOkCancel = 0x01;
constexpr unsigned kFlagYesNo = 0x04;
constexpr unsigned kFlagIconHand = 0x10;
constexpr unsigned kFlagIconQuestion = 0x20;
constexpr unsigned kFlagIconExclamation = 0x30;
constexpr unsigned kFlagIconAsterisk = 0x40;

MessageButtons buttonsFor(unsigned flags) {
    // The first bit that matches wins, so Yes/No/Cancel (3) shows OK and Cancel.
    if (flags & kFlagOkCancel) return MessageButtons::okCancel;
    if (flags & kFlagYesNo) return MessageButtons::yesNo;
    return MessageButtons::okOnly;
}

int iconFor(unsigned flags) {
    // Exclamation shares its bits with hand and question, so it is tested first.
    if ((flags & kFlagIconExclamation) == kFlagIconExclamation) return kIconExclamationBitmap;
    if (flags & kFlagIconAsterisk) return kIconInformationBitmap;
    if (flags & kFlagIconQuestion) return kIconQuestionBitmap;
    if (flags & kFlagIconHand) return kIconStopBitmap;
    return kIconExclamationBitmap;
}

}  // namespace

MessageDialogForm messageDialogForm(unsigned flags) { return MessageDialogForm{buttonsFor(flags), iconFor(flags)}; }

int closeAnswer(MessageButtons buttons) { return buttons == MessageButtons::yesNo ? kAnswerNo : kAnswerCancel; }

}  // namespace brisko
