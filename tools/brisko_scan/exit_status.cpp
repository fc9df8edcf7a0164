#include "tools/brisko_scan/exit_status.h"

namespace brisko {

int exitStatusOf(const ScanSession& session, bool cleanupFailed) {
    if (session.filesInfected == 0 && !cleanupFailed) return kExitClean;
    const bool allTreated = session.userAction == kActionRemove   ? session.filesRemoved >= session.filesInfected
                            : session.userAction == kActionRename ? session.filesRenamed >= session.filesInfected
                                                                  : true;
    return allTreated && !cleanupFailed ? kExitInfected : kExitNotTreated;
}

}  // namespace brisko
