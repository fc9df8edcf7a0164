#include "memscan/image_walks.h"

#include "engine/directory_walk.h"
#include "engine/scan_session.h"
#include "platform/platform.h"

namespace brisko {

void walkOverImage(const char* imagePath) {
    scanSession.foundInMemory = 0;
    if (!files().exists(imagePath)) return;
    walkDirectory(imagePath);
}

void disposalWalkOverImage(const char* imagePath) {
    scanSession.memoryScanAction = scanSession.userAction;
    walkOverImage(imagePath);
    scanSession.memoryScanAction = 0;
}

}  // namespace brisko
