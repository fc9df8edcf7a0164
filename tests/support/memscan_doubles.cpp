// Doubles of the memory scan's attach points: engine tests link them,
// tests of the memory scan itself link the real code instead.
#include <string>

#include "memscan/memory_scan.h"
#include "memscan/restart.h"
#include "tests/support/attach_point_doubles.h"

namespace brisko {

using testing::attachPoints;
using testing::eventLog;

void runMemoryScan() {
    eventLog().push_back("memory scan");
    if (attachPoints().onMemoryScan) attachPoints().onMemoryScan();
}

int terminateByPath(const char* path) {
    eventLog().push_back(std::string("terminate: ") + path);
    if (attachPoints().onTerminate) attachPoints().onTerminate(path);
    return attachPoints().terminateResult;
}

int restartSystem() {
    eventLog().push_back("restart");
    ++attachPoints().restartCalls;
    return 1;
}

}  // namespace brisko
