#include "walk/directory_walk.h"

#include <cstring>
#include <memory>
#include <optional>

#include "base/bounded_text.h"
#include "platform/platform.h"
#include "walk/display_text.h"

namespace brisko {
namespace {

constexpr int kWalkSplitFailed = -1;
constexpr int kDisplayLimit = 60;
constexpr std::size_t kDisplayCapacity = 512;
// A drive-root pattern such as "C:\*.*" is at most this long.
constexpr std::size_t kDriveRootPatternLength = 6;

bool isDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// Length of the folder part of a pattern: everything before the character
// that precedes its last '.' ("C:\Tools\" of "C:\Tools\*.*"); -1 without '.'.
int folderPartLength(const char* pattern) {
    const char* lastDot = std::strrchr(pattern, '.');
    if (lastDot == nullptr) return -1;
    return lastDot == pattern ? 0 : static_cast<int>(lastDot - pattern - 1);
}

// Notes whether the drive of a drive-root pattern has a Program Files folder.
void probeProgramFiles(ScanSession& session, const char* pattern) {
    const char* colon = std::strchr(pattern, ':');
    if (colon == nullptr) return;
    const std::size_t driveLength = static_cast<std::size_t>(colon - pattern) + 1;
    char* path = session.programFilesPath;
    if (!joinIfFits(path, sizeof session.programFilesPath, pattern, driveLength, "\\Program Files")) {
        return;
    }
    if (files().exists(path)) {
        session.programFilesPending = 1;
        std::strcat(path, "\\*.*");
    }
}

void showEntry(ScanContext& scan, const char* path) {
    char display[kDisplayCapacity];
    shortenForDisplay(path, display, sizeof display, kDisplayLimit);
    scan.showItem(display);
}

// Each pass returns nothing when it has read its listing to the end, or the
// result with which the whole walk must end at once.
using PassOutcome = std::optional<int>;
constexpr PassOutcome kPassCompleted = std::nullopt;

// Pass 1: show every entry and offer every file.
PassOutcome showAndOfferEntries(ScanContext& scan, FileVisitor& visitor, const char* pattern) {
    ScanSession& session = scan.session;
    std::unique_ptr<DirectoryListing> listing = files().listDirectory(pattern);
    if (!listing) return kPassCompleted;
    const int folderLength = session.inMemoryScan ? 0 : folderPartLength(pattern);
    DirectoryEntry entry;
    char path[kPathCapacity];
    while (listing->next(entry)) {
        if (scan.stopRequestedAfterPump()) return 0;
        if (session.inMemoryScan) {
            copyTruncated(path, pattern);
        } else if (folderLength < 0) {
            return kWalkSplitFailed;
        } else if (!joinIfFits(path, sizeof path, pattern, static_cast<std::size_t>(folderLength),
                               entry.name)) {
            // Too deep for a Windows path: passed over, the walk goes on.
            continue;
        }
        showEntry(scan, path);
        if ((entry.attributes & kAttributeDirectory) == 0) {
            if (!session.inMemoryScan) ++session.filesScanned;
            visitor.offerFile(path, entry.size);
        }
        if (scan.stopRequestedAfterPump()) return 0;
    }
    return kPassCompleted;
}

// Pass 2: walk every subdirectory.
PassOutcome walkSubdirectories(ScanContext& scan, FileVisitor& visitor, const char* pattern) {
    char subdirectoryPattern[kPathCapacity];
    const char* lastDot = std::strrchr(pattern, '.');
    const std::size_t keep = lastDot != nullptr ? static_cast<std::size_t>(lastDot - pattern) + 1
                                                : std::strlen(pattern);
    if (!joinIfFits(subdirectoryPattern, sizeof subdirectoryPattern, pattern, keep, "*")) {
        return kPassCompleted;
    }
    std::unique_ptr<DirectoryListing> listing = files().listDirectory(subdirectoryPattern);
    if (!listing) return kPassCompleted;

    const int folderLength = folderPartLength(pattern);
    DirectoryEntry entry;
    char childPattern[kPathCapacity];
    while (listing->next(entry)) {
        if (scan.stopRequestedAfterPump()) return 0;
        if ((entry.attributes & kAttributeDirectory) == 0 || isDotEntry(entry.name)) continue;
        if (folderLength < 0) {
            return kWalkSplitFailed;
        }
        char childFolder[kPathCapacity];
        if (!joinIfFits(childFolder, sizeof childFolder, pattern, static_cast<std::size_t>(folderLength),
                        entry.name) ||
            !joinIfFits(childPattern, sizeof childPattern, childFolder, std::strlen(childFolder),
                        "\\*.*")) {
            continue;
        }
        if (std::strstr(childPattern, "\\Program Files\\") != nullptr) scan.session.programFilesVisited = 1;
        if (walkDirectory(scan, visitor, childPattern) == kWalkSplitFailed) {
            return kWalkSplitFailed;
        }
    }
    return kPassCompleted;
}

}  // namespace

int walkDirectory(ScanContext& scan, FileVisitor& visitor, const char* pattern) {
    scan.session.foundInMemory = 0;
    if (std::strlen(pattern) <= kDriveRootPatternLength) probeProgramFiles(scan.session, pattern);
    if (const PassOutcome ended = showAndOfferEntries(scan, visitor, pattern)) return *ended;
    if (const PassOutcome ended = walkSubdirectories(scan, visitor, pattern)) return *ended;
    return scan.session.filesScanned;
}

}  // namespace brisko
