#pragma once
// brisko-scan's exit status, as scripts that clean many disks and the
// deployment tools that clean many machines read it.
#include "session/scan_session.h"

namespace brisko {

constexpr int kExitClean = 0;
// Infected files were found, and every one treated as the action asked
// (with --action leave: reported).
constexpr int kExitInfected = 1;
// A usage error, a folder or file that cannot be used, no administrator
// rights, or another copy already running.
constexpr int kExitUsage = 2;
// Something found could not be treated as asked: a removal, a rename, a
// backup or the writing of a hive failed, or a dirty hive's logs could not
// be replayed, so that it was never written.
constexpr int kExitNotTreated = 3;
// A removal finishes at the next start (ERROR_SUCCESS_REBOOT_REQUIRED,
// as installers report it).
constexpr int kExitRestartNeeded = 3010;
// The restart that finishes a removal has been started
// (ERROR_SUCCESS_REBOOT_INITIATED).
constexpr int kExitRestartStarted = 1641;

// cleanupFailed: a hosts file or hive that could not be backed up or
// written, or a dirty hive whose logs could not be replayed.
int exitStatusOf(const ScanSession& session, bool cleanupFailed);

// The status of a scan of the running system. restartStarted: the system
// accepted the request to restart.
int liveExitStatusOf(const ScanSession& session, bool restartStarted);

}  // namespace brisko
