#include "ui/message_dialog_form.h"

#include "platform/message_box_flags.h"

namespace brisko {
namespace {

MessageButtons buttonsFor(unsigned flags) {
    // The first bit that matches wins, so Yes/No/Cancel (3) shows OK and Cancel.
    if (flags & kMessageOkCancel) return MessageButtons::okCancel;
    if (flags & kMessageYesNo) return MessageButtons::yesNo;
    return MessageButtons::okOnly;
}

int iconFor(unsigned flags) {
    // Exclamation shares its bits with stop and question, so it is tested first.
    if ((flags & kMessageIconExclamation) == kMessageIconExclamation) return kIconExclamationBitmap;
    if (flags & kMessageIconInformation) return kIconInformationBitmap;
    if (flags & kMessageIconQuestion) return kIconQuestionBitmap;
    if (flags & kMessageIconStop) return kIconStopBitmap;
    return kIconExclamationBitmap;
}

}  // namespace

MessageDialogForm messageDialogForm(unsigned flags) { return MessageDialogForm{buttonsFor(flags), iconFor(flags)}; }

int closeAnswer(MessageButtons buttons) { return buttons == MessageButtons::yesNo ? kAnswerNo : kAnswerCancel; }

}  // namespace brisko
