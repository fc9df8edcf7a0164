#include "tests/support/recorded_scan.h"

#include "scan/scan.h"

namespace brisko::testing {

int takeFront(std::deque<int>& answers, int otherwise) {
    if (answers.empty()) return otherwise;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

int RecordingFrontEnd::ask(const Question& question) {
    log_.push_back(std::string("dialog: ") + question.caption + "|" + question.text + "|" +
                   std::to_string(question.flags));
    return takeFront(answers, kAnswerNo);
}

void RecordingFrontEnd::noteEvent(const ScanEvent& event) {
    if (event.kind != ScanEventKind::kRegistryValue) return;
    removedValues.push_back(std::string(event.where) + "|" + event.what + "|" +
                            (event.view != nullptr ? event.view : "-"));
}

void RecordedActions::scanMemory(Scan& scan) {
    if (!standsInFor(kStandInForMemoryScan)) return SystemActions::scanMemory(scan);
    log_.push_back("memory scan");
    if (onMemoryScan) onMemoryScan();
}

int RecordedActions::terminateByPath(const char* path) {
    if (!standsInFor(kStandInForMemoryScan)) return SystemActions::terminateByPath(path);
    log_.push_back(std::string("terminate: ") + path);
    if (onTerminate) onTerminate(path);
    return terminateResult;
}

void RecordedActions::restartSystem() {
    if (!standsInFor(kStandInForMemoryScan)) return SystemActions::restartSystem();
    log_.push_back("restart");
    ++restartCalls;
}

void RecordedActions::cleanAfterDetection(Scan& scan, const char* threatName) {
    if (!standsInFor(kStandInForCleanup)) return SystemActions::cleanAfterDetection(scan, threatName);
    log_.push_back(std::string("autostart: ") + threatName);
    autostartInfectedPaths.push_back(scan.session().infectedPath);
}

void RecordedActions::cleanVariantEntries() {
    if (!standsInFor(kStandInForCleanup)) return SystemActions::cleanVariantEntries();
    log_.push_back("variant cleanup");
}

int RecordedActions::scheduleDeletionAtRestart(Scan& scan, const char* path) {
    if (!standsInFor(kStandInForCleanup)) return SystemActions::scheduleDeletionAtRestart(scan, path);
    log_.push_back(std::string("schedule: ") + path);
    return takeFront(scheduleResults, 0);
}

}  // namespace brisko::testing
