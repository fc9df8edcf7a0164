#include "platform/open_descriptors.h"

namespace brisko {

int OpenDescriptors::handOut(int descriptor) {
    if (descriptor >= 0) open_.insert(descriptor);
    return descriptor;
}

bool OpenDescriptors::holdsFile(const struct stat& file) const {
    for (int descriptor : open_) {
        struct stat opened {};
        if (::fstat(descriptor, &opened) == 0 && opened.st_dev == file.st_dev && opened.st_ino == file.st_ino) {
            return true;
        }
    }
    return false;
}

}  // namespace brisko
