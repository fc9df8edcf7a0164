#include "scan/disposition.h"

#include "platform/platform.h"
#include "scan/renamed_path.h"
#include "scan/scan.h"

namespace brisko {

void noteTreatment(Scan& scan, const char* path, const char* threatName, const char* result) {
    scan.context().noteEvent({ScanEventKind::kTreatment, path, threatName, result});
}

void reportRemoved(Scan& scan, const char* path, const char* threatName) {
    ++scan.session().filesRemoved;
    scan.actions().cleanVariantEntries();
    scan.context().postReportLine("%s     %s removed", path, threatName);
    noteTreatment(scan, path, threatName, "removed");
}

namespace {

void removeInfectedFile(Scan& scan, const char* path, const char* threatName) {
    ScanContext& report = scan.context();
    if (!files().setAttributes(path, kAttributeArchive)) {
        report.postReportLine("%s     %s Unable to remove", report.session.currentItem, report.session.currentThreat);
        noteTreatment(scan, path, threatName, "not removed");
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
    noteTreatment(scan, path, threatName, "not removed");
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
            noteTreatment(scan, path, threatName, "left");
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
        noteTreatment(scan, path, threatName, "renamed");
    } else {
        scan.context().postReportLine("%s     %s Rename failed", path, threatName);
        noteTreatment(scan, path, threatName, "rename failed");
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
