#include "scan/system_actions.h"

#include "cleanup/autostart_cleanup.h"
#include "cleanup/deferred_deletion.h"
#include "cleanup/variant_uninstall_cleanup.h"
#include "memscan/memory_scan.h"
#include "memscan/restart.h"
#include "scan/hosts_treatment.h"
#include "scan/scan.h"

namespace brisko {

void SystemActions::scanMemory(Scan& scan) { runMemoryScan(scan.context(), scan); }

void SystemActions::cleanAfterDetection(Scan& scan, const char* threatName) {
    checkHostsOfThisSystem(scan);
    cleanAutostartEntries(scan.context(), threatName);
}

void SystemActions::cleanVariantEntries() { cleanVariantUninstallEntry(); }

int SystemActions::terminateByPath(const char* path) { return brisko::terminateByPath(path); }

int SystemActions::scheduleDeletionAtRestart(Scan& scan, const char* path) {
    return brisko::scheduleDeletionAtRestart(scan.context(), path);
}

void SystemActions::restartSystem() { brisko::restartSystem(); }

}  // namespace brisko
