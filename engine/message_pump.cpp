#include "engine/message_pump.h"

#include "base/program_identity.h"
#include "engine/scan_session.h"
#include "platform/platform.h"
#include "ui/message_dialog.h"

namespace brisko {

void pumpOneMessage() {
    WindowMessage message;
    if (!windows().takeMessage(message)) return;
    // Any message carrying the Escape key code asks, whatever its number.
    if ((message.wParam & 0xFFFF) == kKeyEscape) {
        if (ShowMessageDialog(kStopQuestion, programTitle, kMessageYesNo | kMessageIconQuestion) != kAnswerNo) {
            scanSession.stopRequested = 1;
        }
        return;
    }
    if (message.id == kMessageQuit || message.id == kMessageDestroy) {
        scanSession.stopRequested = 1;
        return;
    }
    windows().dispatchMessage(message);
}

}  // namespace brisko
