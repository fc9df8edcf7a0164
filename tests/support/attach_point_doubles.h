#pragma once
// Test doubles for what the engine calls in the rest of the program: the
// memory scan, process termination, the registry cleanups, the deferred
// deletion, the message dialog and the restart. They record every call in
// the shared event log and answer as a test scripts them. The doubles of
// the memory scan and of the cleanup stand in files of their own, so that
// the tests of either part link its real code and the other's doubles.
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace brisko::testing {

struct AttachPoints {
    // terminateByPath: what to do with the path (end the program holding
    // it, say) and what to return.
    std::function<void(const std::string&)> onTerminate;
    int terminateResult = 1;
    // scheduleDeletionAtRestart results, one per call; 0 when none is left.
    std::deque<int> scheduleResults;
    // ShowMessageDialog answers, one per call; No when none is left.
    std::deque<int> dialogAnswers;
    // runMemoryScan: what the memory scan does in this test.
    std::function<void()> onMemoryScan;

    // infectedPath as the autostart cleanup saw it, one entry per call.
    std::vector<std::string> autostartInfectedPaths;
    int restartCalls = 0;
};

AttachPoints& attachPoints();
void resetAttachPoints();

// Every call of a double, every posted line and every shown item, in order:
// "line: ...", "item: ...", "autostart: NAME", "variant cleanup",
// "terminate: PATH", "schedule: PATH", "dialog: CAPTION|TEXT|FLAGS",
// "memory scan", "restart".
std::vector<std::string>& eventLog();

// The first scripted answer, taken from the queue; otherwise when none is left.
int takeFront(std::deque<int>& answers, int otherwise);

}  // namespace brisko::testing
