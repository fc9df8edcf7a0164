#include "platform/fake/fake_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/collected_listing.h"
#include "platform/windows_path.h"

namespace brisko::fake {
namespace fs = std::filesystem;

namespace {

// A failed FindNextFile ends the search: the entries after it are lost,
// and the listing says it broke off.
class FakeListing : public CollectedListing {
public:
    FakeListing(FaultPlan& faults, std::vector<DirectoryEntry> entries, std::size_t dotEntries)
        : CollectedListing(std::move(entries), dotEntries), faults_(faults) {}
    bool next(DirectoryEntry& entry) override {
        if (faults_.fails(SeamCall::kListingNext)) {
            end();
            brokeOff_ = true;
        }
        return CollectedListing::next(entry);
    }
    bool brokeOff() const override { return brokeOff_; }

private:
    FaultPlan& faults_;
    bool brokeOff_ = false;
};

}  // namespace

void FakeFileSystem::mapDrive(char letter, const fs::path& hostFolder, DriveType type) {
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = {hostFolder, type};
}

void FakeFileSystem::setDriveType(char letter, DriveType type) {
    drives_.at(static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))).type = type;
}

std::optional<fs::path> FakeFileSystem::hostPathOf(const std::string& windowsPath) const {
    const auto drive = drives_.find(driveLetterOf(windowsPath));
    if (drive == drives_.end()) return std::nullopt;
    fs::path current = drive->second.hostFolder;
    std::error_code error;
    for (const std::string& name : pathComponents(windowsPath)) {
        if (!fs::is_directory(current, error)) return std::nullopt;
        fs::path exact = current / name;
        if (fs::exists(fs::symlink_status(exact, error))) {
            current = exact;
            continue;
        }
        bool found = false;
        for (const fs::directory_entry& entry : fs::directory_iterator(current, error)) {
            const std::string entryName = entry.path().filename().string();
            if (namesEqualIgnoringCase(entryName, name) || namesEqualIgnoringCase(shortNameOf(entryName), name)) {
                current = entry.path();
                found = true;
                break;
            }
        }
        if (!found) return std::nullopt;
    }
    return current;
}

std::optional<fs::path> FakeFileSystem::hostPathForNew(const std::string& windowsPath) const {
    const std::vector<std::string> names = pathComponents(windowsPath);
    if (names.empty()) return std::nullopt;
    std::string parentPath = windowsPath.substr(0, 2);
    for (std::size_t i = 0; i + 1 < names.size(); ++i) parentPath += "\\" + names[i];
    const std::optional<fs::path> parent = hostPathOf(parentPath);
    std::error_code error;
    if (!parent || !fs::is_directory(*parent, error)) return std::nullopt;
    return *parent / names.back();
}

std::uint32_t FakeFileSystem::storedAttributes(const std::string& key, bool isDirectory) const {
    const auto stored = attributes_.find(key);
    const std::uint32_t own = stored != attributes_.end() ? stored->second
                                                          : (isDirectory ? 0 : kAttributeArchive);
    return isDirectory ? (own | kAttributeDirectory) : own;
}

std::uint32_t FakeFileSystem::attributesOf(const std::string& windowsPath) const {
    const std::optional<fs::path> host = hostPathOf(windowsPath);
    if (!host) return 0;
    std::error_code error;
    return storedAttributes(pathKey(windowsPath), fs::is_directory(*host, error));
}

void FakeFileSystem::failOpening(const std::string& windowsPath) {
    unopenable_.insert(pathKey(windowsPath));
}

void FakeFileSystem::failSettingAttributes(const std::string& windowsPath) {
    attributesLocked_.insert(pathKey(windowsPath));
}

void FakeFileSystem::failRenaming(const std::string& windowsPath) {
    unrenamable_.insert(pathKey(windowsPath));
}

void FakeFileSystem::failWritingAfter(const std::string& windowsPath, unsigned bytes) {
    writeLimits_[pathKey(windowsPath)] = bytes;
}

void FakeFileSystem::failCopying(const std::string& windowsPath) { uncopyable_.insert(pathKey(windowsPath)); }

void FakeFileSystem::failShortPath(const std::string& windowsPath) {
    withoutShortPath_.insert(pathKey(windowsPath));
}

void FakeFileSystem::refuseDeletingAtRestart(const std::string& windowsPath) {
    undeletableAtRestart_.insert(pathKey(windowsPath));
}

void FakeFileSystem::holdFile(const std::string& windowsPath, int processId) {
    holders_.emplace(pathKey(windowsPath), processId);
}

void FakeFileSystem::releaseFilesOf(int processId) {
    for (auto holder = holders_.begin(); holder != holders_.end();) {
        holder = holder->second == processId ? holders_.erase(holder) : std::next(holder);
    }
}

bool FakeFileSystem::isHeld(const std::string& key) const { return holders_.count(key) > 0; }

bool FakeFileSystem::isOpenHere(const fs::path& host) const {
    struct stat file {};
    return ::lstat(host.c_str(), &file) == 0 && openDescriptors_.holdsFile(file);
}

std::unique_ptr<DirectoryListing> FakeFileSystem::listDirectory(const char* pattern) {
    if (faults_.fails(SeamCall::kListDirectory)) return nullptr;
    const std::string text = pattern;
    const std::size_t cut = text.find_last_of("\\/");
    if (cut == std::string::npos) return nullptr;
    const std::string folder = text.substr(0, cut + 1);
    const std::string mask = text.substr(cut + 1);
    const std::optional<fs::path> host = hostPathOf(folder);
    std::error_code error;
    if (!host || !fs::is_directory(*host, error)) return nullptr;

    std::vector<DirectoryEntry> entries;
    // A drive root has no "." and "..".
    if (!pathComponents(folder).empty()) {
        for (const char* dots : {".", ".."}) {
            if (!maskMatches(mask, dots)) continue;
            entries.push_back(makeDirectoryEntry(dots, kAttributeDirectory, 0));
        }
    }
    const std::size_t dotEntries = entries.size();
    const std::string folderKey = pathKey(folder);
    for (const fs::directory_entry& item : fs::directory_iterator(*host, error)) {
        const std::string name = item.path().filename().string();
        if (!maskMatches(mask, name)) continue;
        const bool isDirectory = item.is_directory(error);
        const std::uint64_t size = isDirectory ? 0 : item.file_size(error);
        const std::uint32_t attributes =
            attributes_.empty() ? (isDirectory ? kAttributeDirectory : kAttributeArchive)
                                : storedAttributes(pathKey(folderKey + '\\' + name), isDirectory);
        entries.push_back(makeDirectoryEntry(name, attributes, error ? 0 : size));
    }
    if (entries.empty()) return nullptr;
    return std::make_unique<FakeListing>(faults_, std::move(entries), dotEntries);
}

DriveType FakeFileSystem::driveType(const char* root) {
    if (faults_.fails(SeamCall::kDriveType)) return kDriveUnknown;
    const auto drive = drives_.find(driveLetterOf(root));
    return drive == drives_.end() ? kDriveNoRootDirectory : drive->second.type;
}

bool FakeFileSystem::exists(const char* path) {
    return !faults_.fails(SeamCall::kExists) && hostPathOf(path).has_value();
}

bool FakeFileSystem::setAttributes(const char* path, std::uint32_t attributes) {
    if (faults_.fails(SeamCall::kSetAttributes)) return false;
    const std::string key = pathKey(path);
    if (!hostPathOf(path) || attributesLocked_.count(key) > 0) return false;
    attributes_[key] = attributes & ~kAttributeDirectory;
    return true;
}

bool FakeFileSystem::removeFile(const char* path) {
    if (faults_.fails(SeamCall::kRemoveFile)) return false;
    const std::string key = pathKey(path);
    const std::optional<fs::path> host = hostPathOf(path);
    std::error_code error;
    if (!host || fs::is_directory(*host, error) || isHeld(key) || isOpenHere(*host)) return false;
    if ((storedAttributes(key, false) & kAttributeReadOnly) != 0) return false;
    if (!fs::remove(*host, error)) return false;
    attributes_.erase(key);
    return true;
}

bool FakeFileSystem::moveFile(const char* from, const char* to) {
    if (faults_.fails(SeamCall::kMoveFile)) return false;
    const std::string fromKey = pathKey(from);
    const std::string toKey = pathKey(to);
    const std::optional<fs::path> source = hostPathOf(from);
    if (!source || isHeld(fromKey) || isOpenHere(*source) || unrenamable_.count(fromKey) > 0) return false;
    const std::optional<fs::path> target = hostPathForNew(to);
    if (!target) return false;
    // Only a change of letter case may land on an existing name.
    if (hostPathOf(to) && toKey != fromKey) return false;
    std::error_code error;
    fs::rename(*source, *target, error);
    if (error) return false;
    const auto stored = attributes_.find(fromKey);
    if (stored != attributes_.end()) {
        const std::uint32_t attributes = stored->second;
        attributes_.erase(stored);
        attributes_[toKey] = attributes;
    }
    return true;
}

int FakeFileSystem::openForReading(const char* path) {
    if (faults_.fails(SeamCall::kOpenForReading)) return -1;
    const std::optional<fs::path> host = hostPathOf(path);
    std::error_code error;
    if (!host || fs::is_directory(*host, error) || unopenable_.count(pathKey(path)) > 0) return -1;
    return openDescriptors_.handOut(::open(host->c_str(), O_RDONLY | O_CLOEXEC));
}

std::int32_t FakeFileSystem::fileLength(int descriptor) {
    if (faults_.fails(SeamCall::kFileLength)) return -1;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || status.st_size > INT32_MAX) return -1;
    return static_cast<std::int32_t>(status.st_size);
}

bool FakeFileSystem::seekFromStart(int descriptor, std::int32_t offset) {
    return !faults_.fails(SeamCall::kSeekFromStart) && offset >= 0 && ::lseek(descriptor, offset, SEEK_SET) == offset;
}

int FakeFileSystem::read(int descriptor, void* buffer, unsigned count) {
    switch (faults_.check(SeamCall::kRead)) {
        case Fault::kFailure: return -1;
        case Fault::kShortTransfer: count /= 2; break;
        case Fault::kNone: break;
    }
    return static_cast<int>(::read(descriptor, buffer, count));
}

void FakeFileSystem::close(int descriptor) {
    writeAllowances_.erase(descriptor);
    openDescriptors_.release(descriptor);
    ::close(descriptor);
}

// A read-only file is refused, as Windows refuses it. (Wine running as root
// lets such an open through, so no contract test holds the two together.)
int FakeFileSystem::openForWriting(const char* path, WriteMode mode) {
    if (faults_.fails(SeamCall::kOpenForWriting)) return -1;
    const std::string key = pathKey(path);
    const std::optional<fs::path> existing = hostPathOf(path);
    std::error_code error;
    if ((existing && fs::is_directory(*existing, error)) || isHeld(key) ||
        (existing && (storedAttributes(key, false) & kAttributeReadOnly) != 0)) {
        return -1;
    }
    int descriptor = -1;
    if (mode == WriteMode::kTruncateExisting) {
        if (!existing) return -1;
        descriptor = ::open(existing->c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    } else {
        // Names are matched case-blind, so the host's O_EXCL alone would miss
        // an existing file spelt otherwise.
        const std::optional<fs::path> target = hostPathForNew(path);
        if (existing || !target) return -1;
        descriptor = ::open(target->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    }
    const auto limit = writeLimits_.find(key);
    if (descriptor >= 0 && limit != writeLimits_.end()) writeAllowances_[descriptor] = limit->second;
    return openDescriptors_.handOut(descriptor);
}

int FakeFileSystem::write(int descriptor, const void* data, unsigned count) {
    switch (faults_.check(SeamCall::kWrite)) {
        case Fault::kFailure: return -1;
        case Fault::kShortTransfer: count /= 2; break;
        case Fault::kNone: break;
    }
    const auto allowance = writeAllowances_.find(descriptor);
    if (allowance != writeAllowances_.end()) {
        count = std::min(count, allowance->second);
        allowance->second -= count;
    }
    return static_cast<int>(::write(descriptor, data, count));
}

bool FakeFileSystem::copyFile(const char* from, const char* to) {
    if (faults_.fails(SeamCall::kCopyFile)) return false;
    const std::optional<fs::path> source = hostPathOf(from);
    std::error_code error;
    if (!source || fs::is_directory(*source, error) || uncopyable_.count(pathKey(from)) > 0) return false;
    const std::optional<fs::path> existing = hostPathOf(to);
    const std::optional<fs::path> target = existing ? existing : hostPathForNew(to);
    if (!target || isHeld(pathKey(to))) return false;
    if (existing && (storedAttributes(pathKey(to), false) & kAttributeReadOnly) != 0) return false;
    return fs::copy_file(*source, *target, fs::copy_options::overwrite_existing, error);
}

unsigned FakeFileSystem::shortPathName(const char* path, char* buffer, unsigned capacity) {
    if (faults_.fails(SeamCall::kShortPathName)) return 0;
    const std::optional<fs::path> host = hostPathOf(path);
    if (!host || withoutShortPath_.count(pathKey(path)) > 0) return 0;
    // The short form of each name as it stands on the drive.
    std::string shortPath = std::string(1, driveLetterOf(path)) + ":";
    std::string folder = shortPath;
    for (const std::string& name : pathComponents(path)) {
        const std::optional<fs::path> step = hostPathOf(folder + "\\" + name);
        folder += "\\" + name;
        shortPath += "\\" + shortNameOf(step->filename().string());
    }
    // A folder given with its trailing separator keeps it.
    const std::string given = path;
    if (pathComponents(path).empty() || given.back() == '\\' || given.back() == '/') shortPath += "\\";
    if (shortPath.size() + 1 > capacity) return static_cast<unsigned>(shortPath.size() + 1);
    std::memcpy(buffer, shortPath.c_str(), shortPath.size() + 1);
    return static_cast<unsigned>(shortPath.size());
}

bool FakeFileSystem::deleteAtRestart(const char* path) {
    if (faults_.fails(SeamCall::kDeleteAtRestart)) return false;
    if (undeletableAtRestart_.count(pathKey(path)) > 0) return false;
    deletionsAtRestart_.emplace_back(path);
    return true;
}

}  // namespace brisko::fake
