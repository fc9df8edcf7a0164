#include "tools/brisko_scan/question_policy.h"

namespace brisko {

int answerWithoutAsking(const Question& question, RestartChoice restart) {
    switch (question.kind) {
        case QuestionKind::kRestartNow:
        case QuestionKind::kRestartAfterMemoryFind:
            if (restart == RestartChoice::kForce) {
                return (question.flags & kMessageOkCancel) != 0 ? kAnswerOk : kAnswerYes;
            }
            return refusalOf(question);
        case QuestionKind::kStopScan: break;
    }
    return refusalOf(question);
}

const char* answerNameOf(int answer) {
    switch (answer) {
        case kAnswerOk: return "OK";
        case kAnswerCancel: return "Cancel";
        case kAnswerYes: return "Yes";
        default: return "No";
    }
}

}  // namespace brisko
