#include "tests/support/attach_point_doubles.h"

#include "ui/message_dialog.h"

namespace brisko {
namespace testing {

AttachPoints& attachPoints() {
    static AttachPoints points;
    return points;
}

void resetAttachPoints() {
    attachPoints() = AttachPoints{};
    eventLog().clear();
}

std::vector<std::string>& eventLog() {
    static std::vector<std::string> log;
    return log;
}

int takeFront(std::deque<int>& answers, int otherwise) {
    if (answers.empty()) return otherwise;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace testing

using testing::attachPoints;
using testing::eventLog;

int ShowMessageDialog(const char* text, const char* caption, unsigned flags) {
    eventLog().push_back(std::string("dialog: ") + caption + "|" + text + "|" + std::to_string(flags));
    return testing::takeFront(attachPoints().dialogAnswers, kAnswerNo);
}

}  // namespace brisko
