#include "scan/scan_driver.h"

#include <cstring>

#include "base/bounded_text.h"
#include "platform/platform.h"
#include "scan/scan.h"
#include "scan/scan_report.h"
#include "walk/directory_walk.h"

namespace brisko {
namespace {

// Walks the drive's Program Files folder on its own when the walk of the
// drive noticed it but never entered it under that exact spelling.
void walkProgramFilesIfMissed(Scan& scan) {
    ScanSession& session = scan.session();
    if (session.programFilesPending == 1 && session.programFilesVisited == 0) {
        walkDirectory(scan.context(), scan, session.programFilesPath);
        session.programFilesPending = 0;
    }
}

void walkFixedDrives(Scan& scan) {
    char root[] = "C:\\";
    char pattern[] = "C:\\*.*";
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        root[0] = letter;
        if (files().driveType(root) != kDriveFixed) continue;
        pattern[0] = letter;
        walkDirectory(scan.context(), scan, pattern);
        walkProgramFilesIfMissed(scan);
    }
}

void walkTargetFolder(Scan& scan) {
    const char* target = scan.session().scanTarget;
    char pattern[kPathCapacity];
    // A target too long to take "\*.*" is not walked.
    if (!joinIfFits(pattern, sizeof pattern, target, std::strlen(target), "\\*.*")) return;
    walkDirectory(scan.context(), scan, pattern);
    walkProgramFilesIfMissed(scan);
}

}  // namespace

int runScanDriver(Scan& scan) {
    ScanSession& session = scan.session();
    if (session.scanTarget[0] != '\0') {
        scan.actions().scanMemory(scan);
        if (std::strcmp(session.scanTarget, kAllFixedDrives) == 0) {
            walkFixedDrives(scan);
        } else {
            walkTargetFolder(scan);
        }
    }
    postStatisticsBlock(scan.context());
    showEndText(scan.context());
    if (session.rebootRequired != 0 && scan.context().ask(kRestartQuestion) == kAnswerYes) {
        scan.actions().restartSystem();
    }
    return 1;
}

}  // namespace brisko
