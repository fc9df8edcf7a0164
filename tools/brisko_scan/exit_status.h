#pragma once
// brisko-scan's exit status, as scripts that clean many disks read it.
#include "session/scan_session.h"

namespace brisko {

constexpr int kExitClean = 0;
// Infected files were found, and every one treated as the action asked
// (with --action leave: reported).
constexpr int kExitInfected = 1;
constexpr int kExitUsage = 2;
// Something found could not be treated as asked: a removal, a rename, a
// backup or the writing of a hive failed.
constexpr int kExitNotTreated = 3;

// cleanupFailed: a hosts file or hive that could not be backed up or
// written.
int exitStatusOf(const ScanSession& session, bool cleanupFailed);

}  // namespace brisko
