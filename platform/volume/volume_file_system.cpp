#include "platform/volume/volume_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/collected_listing.h"
#include "platform/windows_path.h"

namespace brisko::volume {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

std::uint32_t attributesOf(const struct stat& status) {
    const std::uint32_t kind = S_ISDIR(status.st_mode) ? kAttributeDirectory : kAttributeArchive;
    return (status.st_mode & kWriteBits) == 0 ? (kind | kAttributeReadOnly) : kind;
}

DirectoryEntry listedEntry(const std::string& name, const struct stat& status) {
    const std::uint64_t size = S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
    return makeDirectoryEntry(name, attributesOf(status), size);
}

bool hasWildcard(const std::string& mask) { return mask.find_first_of("*?") != std::string::npos; }

// Writes the whole buffer, going on after short writes.
bool writeAll(int descriptor, const char* data, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(descriptor, data, count);
        if (written <= 0) return false;
        data += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool copyContent(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0 || !writeAll(to, buffer, static_cast<std::size_t>(got))) return false;
    }
}

}  // namespace

VolumeFileSystem::VolumeFileSystem(OwnedDescriptor root, DirectoryReader& reader, ReadErrorReport reportReadError)
    : tree_(std::move(root), reader), reportReadError_(std::move(reportReadError)) {}

void VolumeFileSystem::collectMatching(const std::string& folderPath, int folder, const std::string& mask,
                                       std::vector<DirectoryEntry>& entries) {
    std::unique_ptr<DirectoryStream> stream = tree_.reader().read(folder);
    if (!stream) return;
    std::string name;
    int error = 0;
    while (stream->next(name, error)) {
        if (!maskMatches(mask, name)) continue;
        if (const std::optional<struct stat> status = tree_.statusOf(folder, name)) {
            entries.push_back(listedEntry(name, *status));
        }
    }
    if (error != 0) {
        reportReadError_("cannot read all of the folder " + folderPath + ": " + std::strerror(error) +
                         "; the rest of it is left out");
    }
}

std::unique_ptr<DirectoryListing> VolumeFileSystem::listDirectory(const char* pattern) {
    const std::string text = pattern;
    const std::size_t cut = text.find_last_of("\\/");
    if (cut == std::string::npos || cut + 1 == text.size()) return nullptr;
    const std::string folderPath = text.substr(0, cut + 1);
    const std::string mask = text.substr(cut + 1);
    std::vector<DirectoryEntry> entries;
    if (!hasWildcard(mask)) {
        // The path of one file or folder lists that entry alone.
        const std::optional<VolumeEntry> entry = tree_.find(text);
        if (!entry || entry->name.empty()) return nullptr;
        entries.push_back(listedEntry(entry->name, entry->status));
        return std::make_unique<CollectedListing>(std::move(entries), 0);
    }
    const std::optional<std::vector<std::string>> names = VolumeTree::namesOf(folderPath);
    if (!names) return nullptr;
    const OwnedDescriptor folder = tree_.openFolder(*names);
    if (!folder.isOpen()) return nullptr;
    // A drive root has no "." and "..".
    if (!names->empty()) {
        for (const char* dots : {".", ".."}) {
            if (maskMatches(mask, dots)) entries.push_back(makeDirectoryEntry(dots, kAttributeDirectory, 0));
        }
    }
    const std::size_t dotEntries = entries.size();
    collectMatching(folderPath, folder.get(), mask, entries);
    if (entries.empty()) return nullptr;
    return std::make_unique<CollectedListing>(std::move(entries), dotEntries);
}

DriveType VolumeFileSystem::driveType(const char* root) {
    return VolumeTree::namesOf(root) ? kDriveFixed : kDriveNoRootDirectory;
}

bool VolumeFileSystem::exists(const char* path) { return tree_.find(path).has_value(); }

bool VolumeFileSystem::setAttributes(const char* path, std::uint32_t attributes) {
    const std::optional<VolumeEntry> entry = tree_.find(path);
    if (!entry || entry->name.empty()) return false;
    const bool readOnly = (attributes & kAttributeReadOnly) != 0;
    if (readOnly == entry->isReadOnly()) return true;
    const mode_t mode = entry->status.st_mode & 07777;
    const OwnedDescriptor opened = tree_.open(*entry, O_RDONLY);
    if (!opened.isOpen() || ::fchmod(opened.get(), readOnly ? (mode & ~kWriteBits) : (mode | S_IWUSR)) != 0) {
        return false;
    }
    // A mount may take a change of mode without a word and keep the old one
    // (ntfs-3g does, unless mounted with -o permissions): only what the
    // volume shows now counts.
    struct stat status {};
    return ::fstat(opened.get(), &status) == 0 && ((status.st_mode & kWriteBits) == 0) == readOnly;
}

// As on Windows, a read-only file is not removed, nor is a folder.
bool VolumeFileSystem::removeFile(const char* path) {
    const std::optional<VolumeEntry> entry = tree_.find(path);
    if (!entry || !entry->isFile() || entry->isReadOnly() || openDescriptors_.holdsFile(entry->status)) {
        return false;
    }
    return ::unlinkat(entry->folder.get(), entry->name.c_str(), 0) == 0;
}

// Never replaces an existing target; only a change of letter case may land
// on the entry's own name.
bool VolumeFileSystem::moveFile(const char* from, const char* to) {
    const std::optional<VolumeEntry> source = tree_.find(from);
    const std::optional<VolumeEntry> target = tree_.place(to);
    if (!source || source->name.empty() || !target || openDescriptors_.holdsFile(source->status)) return false;
    std::string targetName = target->name;
    if (target->present) {
        if (target->status.st_dev != source->status.st_dev || target->status.st_ino != source->status.st_ino) {
            return false;
        }
        targetName = VolumeTree::namesOf(to)->back();
    }
    return ::renameat(source->folder.get(), source->name.c_str(), target->folder.get(), targetName.c_str()) == 0;
}

int VolumeFileSystem::openForReading(const char* path) {
    const std::optional<VolumeEntry> entry = tree_.find(path);
    if (!entry || !entry->isFile()) return -1;
    return openDescriptors_.handOut(tree_.open(*entry, O_RDONLY).release());
}

std::int32_t VolumeFileSystem::fileLength(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || status.st_size > INT32_MAX) return -1;
    return static_cast<std::int32_t>(status.st_size);
}

bool VolumeFileSystem::seekFromStart(int descriptor, std::int32_t offset) {
    return offset >= 0 && ::lseek(descriptor, offset, SEEK_SET) == offset;
}

int VolumeFileSystem::read(int descriptor, void* buffer, unsigned count) {
    return static_cast<int>(::read(descriptor, buffer, count));
}

void VolumeFileSystem::close(int descriptor) {
    openDescriptors_.release(descriptor);
    ::close(descriptor);
}

int VolumeFileSystem::openForWriting(const char* path, WriteMode mode) {
    return openDescriptors_.handOut(openToWrite(path, mode));
}

// A read-only file is refused, as Windows refuses it.
int VolumeFileSystem::openToWrite(const char* path, WriteMode mode) {
    const std::optional<VolumeEntry> entry = tree_.place(path);
    if (!entry) return -1;
    if (mode == WriteMode::kCreateNew) {
        // O_EXCL also refuses a link left under that name.
        if (entry->present) return -1;
        return ::openat(entry->folder.get(), entry->name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        0644);
    }
    if (!entry->isFile() || entry->isReadOnly()) return -1;
    // Emptied only once it is known to be the file that was found.
    OwnedDescriptor opened = tree_.open(*entry, O_WRONLY);
    if (!opened.isOpen() || ::ftruncate(opened.get(), 0) != 0) return -1;
    return opened.release();
}

int VolumeFileSystem::write(int descriptor, const void* data, unsigned count) {
    return static_cast<int>(::write(descriptor, data, count));
}

bool VolumeFileSystem::copyFile(const char* from, const char* to) {
    const std::optional<VolumeEntry> source = tree_.find(from);
    const std::optional<VolumeEntry> target = tree_.place(to);
    if (!source || !source->isFile() || !target) return false;
    // Copying a file onto itself would empty it.
    if (target->present && target->status.st_ino == source->status.st_ino) return false;
    const OwnedDescriptor input = tree_.open(*source, O_RDONLY);
    if (!input.isOpen()) return false;
    const OwnedDescriptor output(openToWrite(to, target->present ? WriteMode::kTruncateExisting : WriteMode::kCreateNew));
    return output.isOpen() && copyContent(input.get(), output.get());
}

unsigned VolumeFileSystem::shortPathName(const char*, char*, unsigned) { return 0; }

bool VolumeFileSystem::deleteAtRestart(const char*) { return false; }

}  // namespace brisko::volume
