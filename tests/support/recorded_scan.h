#pragma once
// The stand-ins a test of the scan puts in place of the parts it does not
// test: a front end that records every line, item and question, and system
// actions that record the steps of the memory scan or of the cleanup and
// answer as the test scripts them. They write one shared event log.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "scan/system_actions.h"
#include "ui/window_front_end.h"

namespace brisko::testing {

// Every recorded event, in order: "line: ...", "item: ...",
// "dialog: CAPTION|TEXT|FLAGS", and the steps stood in for: "memory scan",
// "terminate: PATH", "restart", "autostart: NAME", "variant cleanup",
// "schedule: PATH".
using EventLog = std::vector<std::string>;

// Records lines, items and questions; takes events from the simulated
// machine's message queue as the dialog takes them from its window's.
class RecordingFrontEnd : public WindowFrontEnd {
public:
    explicit RecordingFrontEnd(EventLog& log) : WindowFrontEnd(0), log_(log) {}

    void appendLine(const char* line) override { log_.push_back(std::string("line: ") + line); }
    void showItem(const char* item) override { log_.push_back(std::string("item: ") + item); }
    int ask(const Question& question) override;
    // Keeps the removed registry values as "KEY|VALUE|VIEW" ("-" for no
    // view), apart from the shared log.
    void noteEvent(const ScanEvent& event) override;

    // Answers, one per question; No when none is left.
    std::deque<int> answers;
    std::vector<std::string> removedValues;

private:
    EventLog& log_;
};

// Which parts the actions stand in for; the others act for real.
enum StandIn : unsigned {
    kStandInForNothing = 0,
    // The memory scan, the ending of processes and the restart.
    kStandInForMemoryScan = 1,
    // The hosts and registry cleanup and the deletion at the next start.
    kStandInForCleanup = 2,
};

class RecordedActions : public SystemActions {
public:
    RecordedActions(EventLog& log, unsigned standIns) : log_(log), standIns_(standIns) {}

    void scanMemory(Scan& scan) override;
    void cleanAfterDetection(Scan& scan, const char* threatName) override;
    void cleanVariantEntries() override;
    int terminateByPath(const char* path) override;
    int scheduleDeletionAtRestart(Scan& scan, const char* path) override;
    void restartSystem() override;

    // What the memory scan does in this test.
    std::function<void()> onMemoryScan;
    // What ending the processes of a path does (end the program holding
    // it, say), and its result.
    std::function<void(const std::string&)> onTerminate;
    int terminateResult = 1;
    // Results of the deletions at the next start, one per call; 0 when none
    // is left.
    std::deque<int> scheduleResults;
    // infectedPath as each cleanup after a detection saw it.
    std::vector<std::string> autostartInfectedPaths;
    int restartCalls = 0;

private:
    bool standsInFor(StandIn part) const { return (standIns_ & part) != 0; }

    EventLog& log_;
    unsigned standIns_;
};

// The first scripted answer, taken from the queue; otherwise when none is left.
int takeFront(std::deque<int>& answers, int otherwise);

}  // namespace brisko::testing
