#include <gtest/gtest.h>

#include <string>

#include "platform/message_box_flags.h"
#include "ui/message_dialog_form.h"

namespace brisko {
namespace {

TEST(MessageDialogFormTest, ButtonsAndIconFromTheFlags) {
    struct Case {
        unsigned flags;
        MessageButtons buttons;
        int icon;
    };
    const Case cases[] = {
        {0x00, MessageButtons::okOnly, 154},
        {0x01, MessageButtons::okCancel, 154},
        {0x02, MessageButtons::okOnly, 154},
        // Yes/No/Cancel: the OK/Cancel bit is tested first.
        {0x03, MessageButtons::okCancel, 154},
        {0x04, MessageButtons::yesNo, 154},
        {0x05, MessageButtons::okCancel, 154},
        {0x10, MessageButtons::okOnly, 155},
        {0x20, MessageButtons::okOnly, 153},
        {0x30, MessageButtons::okOnly, 154},
        {0x40, MessageButtons::okOnly, 152},
        // Exclamation is tested before the information bit.
        {0x70, MessageButtons::okOnly, 154},
        {0x50, MessageButtons::okOnly, 152},
        {36, MessageButtons::yesNo, 153},
        {65, MessageButtons::okCancel, 152},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags));
        const MessageDialogForm form = messageDialogForm(c.flags);
        EXPECT_EQ(form.buttons, c.buttons);
        EXPECT_EQ(form.iconBitmapId, c.icon);
    }
}

TEST(MessageDialogFormTest, ClosingAnswersNoOnlyToAYesNoQuestion) {
    EXPECT_EQ(closeAnswer(MessageButtons::yesNo), kAnswerNo);
    EXPECT_EQ(closeAnswer(MessageButtons::okCancel), kAnswerCancel);
    EXPECT_EQ(closeAnswer(MessageButtons::okOnly), kAnswerCancel);
}

}  // namespace
}  // namespace brisko
