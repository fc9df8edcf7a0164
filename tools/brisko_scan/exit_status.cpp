#include "tools/brisko_scan/exit_status.h"

namespace brisko {

int exitStatusOf(const ScanSession& session, bool cleanupFailed) {
    if (session.filesInfected == 0 && !cleanupFailed) return kExitClean;
    const bool allTreated = session.userAction == kActionRemove   ? session.filesRemoved >= session.filesInfected
                            : session.userAction == kActionRename ? session.filesRenamed >= session.filesInfected
                                                                  : true;
    return allTreated && !cleanupFailed ? kExitInfected : kExitNotTreated;
}

int liveExitStatusOf(const ScanSession& session, bool restartStarted) {
    if (restartStarted) return kExitRestartStarted;
    // A file waiting for deletion, or an infected process left running:
    // the machine is not clean until it has started again.
    if (session.rebootRequired != 0 || session.memoryRestartNeeded != 0) return kExitRestartNeeded;
    return exitStatusOf(session, false);
}

}  // namespace brisko
