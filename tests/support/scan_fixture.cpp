#include "tests/support/scan_fixture.h"

namespace brisko::testing {

ScanTest::ScanTest(unsigned standIns)
    : actions(eventLog, standIns), scan(frontEnd, actions), scanSession(scan.session()), context(scan.context()) {
    scanSession.reportWindow = kWindowlessReport;
}

void ScanTest::resetRecords() {
    eventLog.clear();
    frontEnd.answers.clear();
    actions.onMemoryScan = nullptr;
    actions.onTerminate = nullptr;
    actions.terminateResult = 1;
    actions.scheduleResults.clear();
    actions.autostartInfectedPaths.clear();
    actions.restartCalls = 0;
}

std::vector<std::string> ScanTest::events(const std::string& kind) const {
    const std::string prefix = kind + ": ";
    std::vector<std::string> found;
    for (const std::string& event : eventLog) {
        if (event.compare(0, prefix.size(), prefix) == 0) found.push_back(event.substr(prefix.size()));
        else if (event == kind) found.push_back("");
    }
    return found;
}

std::vector<std::string> ScanTest::reportLines() const { return events("line"); }

std::vector<std::string> ScanTest::shownItems() const { return events("item"); }

}  // namespace brisko::testing
