#include "memscan/image_walks.h"

#include "platform/platform.h"

namespace brisko {

void walkOverImage(ScanContext& scan, FileVisitor& examiner, const char* imagePath) {
    scan.session.foundInMemory = 0;
    if (!files().exists(imagePath)) return;
    walkDirectory(scan, examiner, imagePath);
}

void disposalWalkOverImage(ScanContext& scan, FileVisitor& examiner, const char* imagePath) {
    scan.session.memoryScanAction = scan.session.userAction;
    walkOverImage(scan, examiner, imagePath);
    scan.session.memoryScanAction = 0;
}

}  // namespace brisko
