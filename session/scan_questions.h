#pragma once
// The questions a scan asks, each with its text, caption and buttons, so
// that every front end asks the same and can answer by kind.
#include "base/program_identity.h"
#include "platform/message_box_flags.h"

namespace brisko {

enum class QuestionKind {
    // Whether to stop the running scan.
    kStopScan,
    // Whether to restart now to finish a removal.
    kRestartNow,
    // Whether to restart now after an infected process could not be ended.
    kRestartAfterMemoryFind,
};

struct Question {
    QuestionKind kind;
    const char* text;
    const char* caption;
    unsigned flags;
};

// Asked before a running scan stops, on Escape and by the main dialog.
constexpr const char* kStopQuestion = "Terminate the Scan now?";

constexpr Question kStopScanQuestion{QuestionKind::kStopScan, kStopQuestion, programTitle,
                                     kMessageYesNo | kMessageIconQuestion};

constexpr Question kRestartQuestion{
    QuestionKind::kRestartNow,
    "The system has to be restarted to remove the virus completely from your system. \n\n Restart now?",
    programTitle, kMessageYesNo | kMessageIconQuestion};

constexpr Question kMemoryRestartQuestion{
    QuestionKind::kRestartAfterMemoryFind,
    "W32/Krenot.Trojan  found in memory! registry entries created by the worm are removed. "
    "You must restart the computer and run this program to continue scanning.\n\n"
    "Restart the computer now?",
    programTitle, kMessageOkCancel | kMessageIconInformation};

// The answer that refuses a question: No, or Cancel where there is no No.
constexpr int refusalOf(const Question& question) {
    return (question.flags & kMessageOkCancel) != 0 ? kAnswerCancel : kAnswerNo;
}

}  // namespace brisko
