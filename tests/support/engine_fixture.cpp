#include "tests/support/engine_fixture.h"

namespace brisko::testing {

EngineTest::EngineTest() {
    scanSession = ScanSession{};
    resetAttachPoints();
    scanSession.reportWindow = machine.fakeWindows().createWindow([](const WindowMessage& message) {
        if (message.id == kAppendLineMessage) eventLog().push_back(std::string("line: ") + scanSession.reportLine);
        if (message.id == kShowItemMessage) eventLog().push_back(std::string("item: ") + scanSession.currentItem);
    });
}

EngineTest::~EngineTest() { scanSession = ScanSession{}; }

std::vector<std::string> EngineTest::events(const std::string& kind) const {
    const std::string prefix = kind + ": ";
    std::vector<std::string> found;
    for (const std::string& event : eventLog()) {
        if (event.compare(0, prefix.size(), prefix) == 0) found.push_back(event.substr(prefix.size()));
        else if (event == kind) found.push_back("");
    }
    return found;
}

std::vector<std::string> EngineTest::reportLines() const { return events("line"); }

std::vector<std::string> EngineTest::shownItems() const { return events("item"); }

}  // namespace brisko::testing
