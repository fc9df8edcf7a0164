#include "scan/disposition.h"

#include "platform/platform.h"
#include "scan/renamed_path.h"
#include "scan/scan.h"

namespace brisko {

void reportRemoved(Scan& scan, const char* path, const char* threatName) {
    ++scan.session().filesRemoved;
    scan.actions().cleanVariantEntries();
    scan.context().postReportLine("%s     %s removed", path, threatName);
}

namespace {

void removeInfectedFile(Scan& scan, const char* path, const char* threatName) {
    ScanContext& report = scan.context();
    if (!files().setAttributes(path, kAttributeArchive)) {
        report.postReportLine("%s     %s Unable to remove", report.session.currentItem, report.session.currentThreat);
        return;
    }
    if (files().removeFile(path)) {
        reportRemoved(scan, path, threatName);
        return;
    }
    // In use: end whatever runs it and try once more.
    if (scan.actions().terminateByPath(path) != 0 && files().removeFile(path)) {
        reportRemoved(scan, path, threatName);
        return;
    }
    report.postReportLine("%s     %s Unable to remove", path, threatName);
    // A deletion already waiting for the next start keeps the restart offer,
    // whatever later schedulings do.
    if (scan.actions().scheduleDeletionAtRestart(scan, path) != 0) scan.session().rebootRequired = 1;
}

}  // namespace

void treatByUserAction(Scan& scan, const char* path, const char* threatName, RemovalStep removal,
                       const char* leftAloneFormat) {
    ScanSession& session = scan.session();
    switch (session.userAction) {
        case kActionRemove:
        case kActionRemoveToo:
            removal(scan, path, threatName);
            break;
        case kActionRename:
            renameInfectedFile(scan, path, threatName);
            break;
        case kActionLeave:
            scan.context().postReportLine(leftAloneFormat, session.currentItem, session.currentThreat);
            break;
        default:
            break;
    }
}

void renameInfectedFile(Scan& scan, const char* path, const char* threatName) {
    char newName[kPathCapacity];
    if (renamedPathFor(path, newName, sizeof newName) && files().moveFile(path, newName)) {
        ++scan.session().filesRenamed;
        scan.context().postReportLine("%s     %s renamed", path, threatName);
    } else {
        scan.context().postReportLine("%s     %s Rename failed", path, threatName);
    }
}

void disposeInfectedFile(Scan& scan, const char* path, const char* threatName) {
    treatByUserAction(scan, path, threatName, removeInfectedFile, "%s     %s not disinfected as per user's selection");
}

void disposeDirectly(Scan& scan, const char* path, const char* threatLabel) {
    ScanSession& session = scan.session();
    session.userAction = session.memoryScanAction;
    if (session.reportWindow != 0) scan.context().postReportLine("System Memory    W32/Krenot.Trojan  removed");
    systemServices().sleepMilliseconds(1000);
    disposeInfectedFile(scan, path, threatLabel);
}

}  // namespace brisko
