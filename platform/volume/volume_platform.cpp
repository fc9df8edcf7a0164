#include "platform/volume/volume_platform.h"

#include <fcntl.h>

#include <utility>

namespace brisko::volume {

std::unique_ptr<VolumePlatform> VolumePlatform::open(const char* folder, ReadErrorReport reportReadError,
                                                     DirectoryReader& reader) {
    OwnedDescriptor root(::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.isOpen()) return nullptr;
    return std::make_unique<VolumePlatform>(folder, std::move(root), std::move(reportReadError), reader);
}

VolumePlatform::VolumePlatform(std::filesystem::path folder, OwnedDescriptor root, ReadErrorReport reportReadError,
                               DirectoryReader& reader)
    : folder_(std::move(folder)), files_(std::move(root), reader, std::move(reportReadError)) {}

std::optional<std::filesystem::path> VolumePlatform::hostPathOf(const std::string& windowsPath) const {
    const std::optional<std::vector<std::string>> names = files_.tree().spellingOf(windowsPath);
    if (!names) return std::nullopt;
    std::filesystem::path path = folder_;
    for (const std::string& name : *names) path /= name;
    return path;
}

}  // namespace brisko::volume
