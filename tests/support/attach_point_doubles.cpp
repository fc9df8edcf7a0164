#include "tests/support/attach_point_doubles.h"

#include "cleanup/autostart_cleanup.h"
#include "cleanup/deferred_deletion.h"
#include "cleanup/variant_uninstall_cleanup.h"
#include "engine/scan_session.h"
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

namespace {
int takeFront(std::deque<int>& answers, int otherwise) {
    if (answers.empty()) return otherwise;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

}  // namespace testing

using testing::attachPoints;
using testing::eventLog;

int cleanAutostartEntries(const char* threatName) {
    eventLog().push_back(std::string("autostart: ") + threatName);
    attachPoints().autostartInfectedPaths.push_back(scanSession.infectedPath);
    return 1;
}

int cleanVariantUninstallEntry() {
    eventLog().push_back("variant cleanup");
    return 0;
}

int scheduleDeletionAtRestart(const char* path) {
    eventLog().push_back(std::string("schedule: ") + path);
    return testing::takeFront(attachPoints().scheduleResults, 0);
}

int ShowMessageDialog(const char* text, const char* caption, unsigned flags) {
    eventLog().push_back(std::string("dialog: ") + caption + "|" + text + "|" + std::to_string(flags));
    return testing::takeFront(attachPoints().dialogAnswers, kAnswerNo);
}

}  // namespace brisko
