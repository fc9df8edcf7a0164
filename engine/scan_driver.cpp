#include "engine/scan_driver.h"

#include <cstring>

#include "base/bounded_text.h"
#include "engine/directory_walk.h"
#include "base/program_identity.h"
#include "engine/scan_session.h"
#include "memscan/memory_scan.h"
#include "memscan/restart.h"
#include "platform/platform.h"
#include "ui/message_dialog.h"

namespace brisko {
namespace {

constexpr const char* kAllFixedDrives = "!:";

// Walks the drive's Program Files folder on its own when the walk of the
// drive noticed it but never entered it under that exact spelling.
void walkProgramFilesIfMissed() {
    if (scanSession.programFilesPending == 1 && scanSession.programFilesVisited == 0) {
        walkDirectory(scanSession.programFilesPath);
        scanSession.programFilesPending = 0;
    }
}

void walkFixedDrives() {
    char root[] = "C:\\";
    char pattern[] = "C:\\*.*";
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        root[0] = letter;
        if (files().driveType(root) != kDriveFixed) continue;
        pattern[0] = letter;
        walkDirectory(pattern);
        walkProgramFilesIfMissed();
    }
}

void walkTargetFolder() {
    char pattern[kPathCapacity];
    // A target too long to take "\*.*" is not walked.
    if (!joinIfFits(pattern, sizeof pattern, scanSession.scanTarget, std::strlen(scanSession.scanTarget),
                    "\\*.*")) {
        return;
    }
    walkDirectory(pattern);
    walkProgramFilesIfMissed();
}

}  // namespace

int runScanDriver() {
    if (scanSession.scanTarget[0] != '\0') {
        runMemoryScan();
        if (std::strcmp(scanSession.scanTarget, kAllFixedDrives) == 0) {
            walkFixedDrives();
        } else {
            walkTargetFolder();
        }
    }
    postStatisticsBlock();
    showEndText();
    if (scanSession.rebootRequired != 0 &&
        ShowMessageDialog("The system has to be restarted to remove the virus completely from your "
                          "system. \n\n Restart now?",
                          programTitle, kMessageYesNo | kMessageIconQuestion) == kAnswerYes) {
        restartSystem();
    }
    return 1;
}

}  // namespace brisko
