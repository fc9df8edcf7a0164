#include "scan/hosts_treatment.h"

#include "base/bounded_text.h"
#include "cleanup/hosts_check.h"
#include "platform/platform.h"
#include "scan/disposition.h"
#include "scan/scan.h"

namespace brisko {
namespace {

// Neither attributes nor running programs stand in the way of a hosts
// file; a failure is only reported.
void removeHostsFile(Scan& scan, const char* path, const char* threatName) {
    if (files().removeFile(path)) {
        reportRemoved(scan, path, threatName);
    } else {
        scan.context().postReportLine("%s     %s Remove failed", path, threatName);
        noteTreatment(scan, path, threatName, "not removed");
    }
}

}  // namespace

int checkHostsFile(Scan& scan, const char* path) {
    HostsThreatName threatName;
    if (!findHostsInfection(path, threatName)) return 0;
    ScanSession& session = scan.session();
    ++session.filesInfected;
    copyTruncated(session.currentThreat, threatName);
    copyTruncated(session.currentItem, path);
    scan.context().noteEvent({ScanEventKind::kHostsInfection, path, threatName});
    treatByUserAction(scan, path, threatName, removeHostsFile, "%s     %s Not Disinfected As Per User's Selection");
    return 1;
}

void checkHostsOfThisSystem(Scan& scan) {
    char path[kPathCapacity];
    if (hostsPathOfThisSystem(path)) checkHostsFile(scan, path);
}

}  // namespace brisko
