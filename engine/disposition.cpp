#include "engine/disposition.h"


#include "cleanup/deferred_deletion.h"
#include "cleanup/variant_uninstall_cleanup.h"
#include "engine/renamed_path.h"
#include "engine/scan_session.h"
#include "memscan/memory_scan.h"
#include "platform/platform.h"

namespace brisko {

void reportRemoved(const char* path, const char* threatName) {
    ++scanSession.filesRemoved;
    cleanVariantUninstallEntry();
    postReportLine("%s     %s removed", path, threatName);
}

namespace {

void removeInfectedFile(const char* path, const char* threatName) {
    if (!files().setAttributes(path, kAttributeArchive)) {
        postReportLine("%s     %s Unable to remove", scanSession.currentItem, scanSession.currentThreat);
        return;
    }
    if (files().removeFile(path)) {
        reportRemoved(path, threatName);
        return;
    }
    // In use: end whatever runs it and try once more.
    if (terminateByPath(path) != 0 && files().removeFile(path)) {
        reportRemoved(path, threatName);
        return;
    }
    postReportLine("%s     %s Unable to remove", path, threatName);
    // A deletion already waiting for the next start keeps the restart offer,
    // whatever later schedulings do.
    if (scheduleDeletionAtRestart(path) != 0) scanSession.rebootRequired = 1;
}

}  // namespace

void renameInfectedFile(const char* path, const char* threatName) {
    char newName[kPathCapacity];
    if (renamedPathFor(path, newName, sizeof newName) && files().moveFile(path, newName)) {
        ++scanSession.filesRenamed;
        postReportLine("%s     %s renamed", path, threatName);
    } else {
        postReportLine("%s     %s Rename failed", path, threatName);
    }
}

void disposeInfectedFile(const char* path, const char* threatName) {
    switch (scanSession.userAction) {
        case kActionRemove:
        case kActionRemoveToo:
            removeInfectedFile(path, threatName);
            break;
        case kActionRename:
            renameInfectedFile(path, threatName);
            break;
        case kActionLeave:
            postReportLine("%s     %s not disinfected as per user's selection", scanSession.currentItem,
                           scanSession.currentThreat);
            break;
        default:
            break;
    }
}

void disposeDirectly(const char* path, const char* threatLabel) {
    scanSession.userAction = scanSession.memoryScanAction;
    if (scanSession.reportWindow != 0) postReportLine("System Memory    W32/Krenot.Trojan  removed");
    systemServices().sleepMilliseconds(1000);
    disposeInfectedFile(path, threatLabel);
}

}  // namespace brisko
