#include "platform/volume/volume_platform.h"

#include <fcntl.h>

#include <utility>

namespace brisko::volume {

std::unique_ptr<VolumePlatform> VolumePlatform::open(const char* folder, ReadErrorReport reportReadError,
                                                     DirectoryReader& reader) {
    OwnedDescriptor root(::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.isOpen()) return nullptr;
    return std::make_unique<VolumePlatform>(std::move(root), std::move(reportReadError), reader);
}

VolumePlatform::VolumePlatform(OwnedDescriptor root, ReadErrorReport reportReadError, DirectoryReader& reader)
    : files_(std::move(root), reader, std::move(reportReadError)) {}

}  // namespace brisko::volume
