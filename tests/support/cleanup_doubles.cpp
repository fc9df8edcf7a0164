// Doubles of the cleanup's attach points: engine and memory-scan tests link
// them, tests of the cleanup itself link the real code instead.
#include <string>

#include "cleanup/autostart_cleanup.h"
#include "cleanup/deferred_deletion.h"
#include "cleanup/variant_uninstall_cleanup.h"
#include "engine/scan_session.h"
#include "tests/support/attach_point_doubles.h"

namespace brisko {

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

}  // namespace brisko
