#include "platform/volume/volume_tree.h"

#include <fcntl.h>

#include <memory>
#include <utility>

#include "platform/windows_path.h"

namespace brisko::volume {
namespace {

// The one drive of the volume.
constexpr char kVolumeDrive = 'C';

}  // namespace

VolumeTree::VolumeTree(OwnedDescriptor root, DirectoryReader& reader)
    : root_(std::move(root)), device_(0), reader_(reader) {
    struct stat status {};
    if (::fstat(root_.get(), &status) == 0) device_ = status.st_dev;
}

std::optional<std::vector<std::string>> VolumeTree::namesOf(const std::string& windowsPath) {
    if (driveLetterOf(windowsPath) != kVolumeDrive || climbsToParent(windowsPath)) return std::nullopt;
    return pathComponents(windowsPath);
}

std::optional<struct stat> VolumeTree::statusOf(int folder, const std::string& name) const {
    struct stat status {};
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    if (status.st_dev != device_ || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode))) return std::nullopt;
    return status;
}

std::optional<std::string> VolumeTree::matchingName(int folder, const std::string& name) const {
    if (statusOf(folder, name)) return name;
    std::unique_ptr<DirectoryStream> stream = reader_.read(folder);
    std::string candidate;
    int error = 0;
    // A folder that cannot be read to its end hides the names after the
    // failure, as a failed lookup on Windows would.
    while (stream && stream->next(candidate, error)) {
        if (namesEqualIgnoringCase(candidate, name) && statusOf(folder, candidate)) return candidate;
    }
    return std::nullopt;
}

OwnedDescriptor VolumeTree::openFolder(const std::vector<std::string>& names) const {
    OwnedDescriptor current(::fcntl(root_.get(), F_DUPFD_CLOEXEC, 0));
    for (const std::string& name : names) {
        if (!current.isOpen()) break;
        const std::optional<std::string> found = matchingName(current.get(), name);
        if (!found) return {};
        OwnedDescriptor next(::openat(current.get(), found->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (!next.isOpen() || ::fstat(next.get(), &status) != 0 || status.st_dev != device_) return {};
        current = std::move(next);
    }
    return current;
}

std::optional<VolumeEntry> VolumeTree::entryOf(const std::vector<std::string>& names, bool mayBeMissing) const {
    VolumeEntry entry;
    if (names.empty()) {
        // The root: its own folder, reached by no name.
        entry.folder = openFolder(names);
        entry.present = entry.folder.isOpen() && ::fstat(entry.folder.get(), &entry.status) == 0;
        if (!entry.present) return std::nullopt;
        return entry;
    }
    entry.folder = openFolder(std::vector<std::string>(names.begin(), names.end() - 1));
    if (!entry.folder.isOpen()) return std::nullopt;
    const std::optional<std::string> found = matchingName(entry.folder.get(), names.back());
    const std::optional<struct stat> status = found ? statusOf(entry.folder.get(), *found) : std::nullopt;
    if (status) {
        entry.name = *found;
        entry.present = true;
        entry.status = *status;
    } else if (mayBeMissing) {
        entry.name = names.back();
    } else {
        return std::nullopt;
    }
    return entry;
}

std::optional<VolumeEntry> VolumeTree::find(const std::string& windowsPath) const {
    const std::optional<std::vector<std::string>> names = namesOf(windowsPath);
    return names ? entryOf(*names, false) : std::nullopt;
}

std::optional<std::vector<std::string>> VolumeTree::spellingOf(const std::string& windowsPath) const {
    const std::optional<std::vector<std::string>> names = namesOf(windowsPath);
    if (!names) return std::nullopt;
    std::vector<std::string> spelt;
    OwnedDescriptor current(::fcntl(root_.get(), F_DUPFD_CLOEXEC, 0));
    for (std::size_t i = 0; i < names->size(); ++i) {
        if (!current.isOpen()) return std::nullopt;
        const std::optional<std::string> found = matchingName(current.get(), (*names)[i]);
        if (!found) return std::nullopt;
        spelt.push_back(*found);
        if (i + 1 == names->size()) break;
        OwnedDescriptor next(::openat(current.get(), found->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (!next.isOpen() || ::fstat(next.get(), &status) != 0 || status.st_dev != device_) return std::nullopt;
        current = std::move(next);
    }
    return spelt;
}

std::optional<VolumeEntry> VolumeTree::place(const std::string& windowsPath) const {
    const std::optional<std::vector<std::string>> names = namesOf(windowsPath);
    if (!names || names->empty()) return std::nullopt;
    return entryOf(*names, true);
}

OwnedDescriptor VolumeTree::open(const VolumeEntry& entry, int flags) const {
    if (!entry.present || entry.name.empty()) return {};
    // Non-blocking, so that nothing waits on what is not a regular file.
    OwnedDescriptor opened(::openat(entry.folder.get(), entry.name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!opened.isOpen() || ::fstat(opened.get(), &status) != 0) return {};
    if (status.st_dev != entry.status.st_dev || status.st_ino != entry.status.st_ino) return {};
    return opened;
}

}  // namespace brisko::volume
