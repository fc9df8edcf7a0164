#include <gtest/gtest.h>

#include "tools/brisko_scan/exit_status.h"

namespace brisko {
namespace {

ScanSession sessionAfter(std::int32_t action, std::int32_t infected, std::int32_t removed) {
    ScanSession session{};
    session.userAction = action;
    session.filesInfected = infected;
    session.filesRemoved = removed;
    return session;
}

TEST(BriskoScanExitStatusTest, TellsCleanTreatedAndNotTreatedApart) {
    struct Case {
        const char* what;
        std::int32_t action;
        std::int32_t infected;
        std::int32_t removed;
        std::int32_t renamed;
        bool cleanupFailed;
        int status;
    };
    const Case cases[] = {
        {"nothing found", kActionLeave, 0, 0, 0, false, kExitClean},
        {"found and left as asked", kActionLeave, 2, 0, 0, false, kExitInfected},
        {"all removed", kActionRemove, 2, 2, 0, false, kExitInfected},
        {"one not removed", kActionRemove, 2, 1, 0, false, kExitNotTreated},
        {"all renamed", kActionRename, 3, 0, 3, false, kExitInfected},
        {"one rename failed", kActionRename, 3, 0, 2, false, kExitNotTreated},
        {"removed, but a hive was not written", kActionRemove, 1, 1, 0, true, kExitNotTreated},
        {"no file, but a hosts backup failed", kActionRemove, 0, 0, 0, true, kExitNotTreated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScanSession session = sessionAfter(c.action, c.infected, c.removed);
        session.filesRenamed = c.renamed;
        EXPECT_EQ(exitStatusOf(session, c.cleanupFailed), c.status);
    }
}

// What a deployment tool reads from brisko-scan.exe: a pending restart
// outranks the count of treated files, and a started one outranks both.
TEST(BriskoScanExitStatusTest, TellsARestartNeededOrStartedOnALiveSystem) {
    struct Case {
        const char* what;
        std::int32_t action;
        std::int32_t infected;
        std::int32_t removed;
        std::int32_t rebootRequired;
        std::uint8_t memoryRestartNeeded;
        bool restartStarted;
        int status;
    };
    const Case cases[] = {
        {"clean", kActionRemove, 0, 0, 0, 0, false, kExitClean},
        {"audit that found some", kActionLeave, 3, 0, 0, 0, false, kExitInfected},
        {"all removed", kActionRemove, 2, 2, 0, 0, false, kExitInfected},
        {"one removed, one locked and waiting for the next start", kActionRemove, 2, 1, 1, 0, false,
         kExitRestartNeeded},
        {"the same, restart started", kActionRemove, 2, 1, 1, 0, true, kExitRestartStarted},
        {"a process that could not be ended", kActionRemove, 1, 0, 0, 1, false, kExitRestartNeeded},
        {"the same, restart started", kActionRemove, 1, 0, 0, 1, true, kExitRestartStarted},
        {"one removal failed, nothing waiting", kActionRemove, 2, 1, 0, 0, false, kExitNotTreated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScanSession session = sessionAfter(c.action, c.infected, c.removed);
        session.rebootRequired = c.rebootRequired;
        session.memoryRestartNeeded = c.memoryRestartNeeded;
        EXPECT_EQ(liveExitStatusOf(session, c.restartStarted), c.status);
    }
}

}  // namespace
}  // namespace brisko
