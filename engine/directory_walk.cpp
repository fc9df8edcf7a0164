#include "engine/directory_walk.h"

#include <cstring>
#include <memory>
#include <optional>

#include "base/bounded_text.h"
#include "engine/display_text.h"
#include "engine/file_matcher.h"
#include "engine/message_pump.h"
#include "engine/scan_session.h"
#include "platform/platform.h"

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

bool stopRequestedAfterPump() {
    pumpOneMessage();
    return scanSession.stopRequested != 0;
}

// Notes whether the drive of a drive-root pattern has a Program Files folder.
void probeProgramFiles(const char* pattern) {
    const char* colon = std::strchr(pattern, ':');
    if (colon == nullptr) return;
    const std::size_t driveLength = static_cast<std::size_t>(colon - pattern) + 1;
    char* path = scanSession.programFilesPath;
    if (!joinIfFits(path, sizeof scanSession.programFilesPath, pattern, driveLength, "\\Program Files")) {
        return;
    }
    if (files().exists(path)) {
        scanSession.programFilesPending = 1;
        std::strcat(path, "\\*.*");
    }
}

void showEntry(const char* path) {
    char display[kDisplayCapacity];
    shortenForDisplay(path, display, sizeof display, kDisplayLimit);
    showItem(display);
}

void offerToThreatCallbacks(const char* path, const DirectoryEntry& entry) {
    for (const ThreatCallback* callback = threatCallbackTable; callback->threatLabel != nullptr;
         ++callback) {
        noteListedLength(entry.size);
        if (callback->examineFile(callback->threatLabel, path) != 0) break;
    }
}

// Each pass returns nothing when it has read its listing to the end, or the
// result with which the whole walk must end at once.
using PassOutcome = std::optional<int>;
constexpr PassOutcome kPassCompleted = std::nullopt;

// Pass 1: show every entry and offer every file.
PassOutcome showAndOfferEntries(const char* pattern) {
    std::unique_ptr<DirectoryListing> listing = files().listDirectory(pattern);
    if (!listing) return kPassCompleted;
    const int folderLength = scanSession.inMemoryScan ? 0 : folderPartLength(pattern);
    DirectoryEntry entry;
    char path[kPathCapacity];
    while (listing->next(entry)) {
        if (stopRequestedAfterPump()) return 0;
        if (scanSession.inMemoryScan) {
            copyTruncated(path, pattern);
        } else if (folderLength < 0) {
            return kWalkSplitFailed;
        } else if (!joinIfFits(path, sizeof path, pattern, static_cast<std::size_t>(folderLength),
                               entry.name)) {
            // Too deep for a Windows path: passed over, the walk goes on.
            continue;
        }
        showEntry(path);
        if ((entry.attributes & kAttributeDirectory) == 0) {
            if (!scanSession.inMemoryScan) ++scanSession.filesScanned;
            offerToThreatCallbacks(path, entry);
        }
        if (stopRequestedAfterPump()) return 0;
    }
    return kPassCompleted;
}

// Pass 2: walk every subdirectory.
PassOutcome walkSubdirectories(const char* pattern) {
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
        if (stopRequestedAfterPump()) return 0;
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
        if (std::strstr(childPattern, "\\Program Files\\") != nullptr) scanSession.programFilesVisited = 1;
        if (walkDirectory(childPattern) == kWalkSplitFailed) {
            return kWalkSplitFailed;
        }
    }
    return kPassCompleted;
}

}  // namespace

int walkDirectory(const char* pattern) {
    scanSession.foundInMemory = 0;
    if (std::strlen(pattern) <= kDriveRootPatternLength) probeProgramFiles(pattern);
    if (const PassOutcome ended = showAndOfferEntries(pattern)) return *ended;
    if (const PassOutcome ended = walkSubdirectories(pattern)) return *ended;
    return scanSession.filesScanned;
}

}  // namespace brisko
