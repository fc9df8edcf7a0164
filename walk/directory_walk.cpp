#include "walk/directory_walk.h"

#include <cstring>
#include <memory>
#include <optional>

#include "base/bounded_text.h"
#include "platform/platform.h"
#include "walk/display_text.h"
#include "walk/remembered_subdirectories.h"

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

// The search pass 2 walks: the pattern up to its last '.' followed by "*".
// For a folder ("C:\dir\*.*") that is pass 1's own search; for the path of
// one file in the memory scan ("C:\dir\evil.exe") a wider one
// ("C:\dir\evil.*") that can find folders pass 1 never listed. False when
// it does not fit.
bool subdirectorySearchOf(const char* pattern, char (&search)[kPathCapacity]) {
    const char* lastDot = std::strrchr(pattern, '.');
    const std::size_t keep = lastDot != nullptr ? static_cast<std::size_t>(lastDot - pattern) + 1
                                                : std::strlen(pattern);
    return joinIfFits(search, sizeof search, pattern, keep, "*");
}

// Whether pass 2 would search again exactly what pass 1 lists, so that
// pass 1 can keep what pass 2 needs instead.
//
// A second listing would see the folder as pass 1 left it: without the
// files the disposition removed, with those it renamed or wrote. Those are
// files, which pass 2 only pumps for, so keeping the first listing changes
// the number of pumps (one for each entry pass 1 listed) and never an item
// or a line: the program itself makes, removes and renames no folders.
bool passTwoRepeatsTheSearch(const char* pattern) {
    char search[kPathCapacity];
    return subdirectorySearchOf(pattern, search) && std::strcmp(search, pattern) == 0;
}

// Pass 1: show every entry and offer every file; keep what pass 2 needs
// when given a place for it.
PassOutcome showAndOfferEntries(ScanContext& scan, FileVisitor& visitor, const char* pattern,
                                RememberedSubdirectories* kept) {
    ScanSession& session = scan.session;
    std::unique_ptr<DirectoryListing> listing = files().listDirectory(pattern);
    if (!listing) return kPassCompleted;
    const int folderLength = session.inMemoryScan ? 0 : folderPartLength(pattern);
    DirectoryEntry entry;
    char path[kPathCapacity];
    while (listing->next(entry)) {
        if (kept != nullptr) kept->remember(entry);
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
    if (kept != nullptr && !listing->brokeOff()) kept->markWhole();
    return kPassCompleted;
}

// Pass 2 over a listing: pump once for each entry, walk each subdirectory.
PassOutcome walkListedSubdirectories(ScanContext& scan, FileVisitor& visitor, const char* pattern,
                                     DirectoryListing& listing) {
    const int folderLength = folderPartLength(pattern);
    DirectoryEntry entry;
    char childPattern[kPathCapacity];
    while (listing.next(entry)) {
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

// Pass 2: walk every subdirectory, from what pass 1 kept when it read the
// same search whole, otherwise from a search of its own. A search that could
// not start or broke off in pass 1 is made again: the second may succeed.
PassOutcome walkSubdirectories(ScanContext& scan, FileVisitor& visitor, const char* pattern,
                               RememberedSubdirectories& kept) {
    if (kept.isWhole()) return walkListedSubdirectories(scan, visitor, pattern, kept);
    char search[kPathCapacity];
    if (!subdirectorySearchOf(pattern, search)) return kPassCompleted;
    std::unique_ptr<DirectoryListing> listing = files().listDirectory(search);
    if (!listing) return kPassCompleted;
    return walkListedSubdirectories(scan, visitor, pattern, *listing);
}

}  // namespace

int walkDirectory(ScanContext& scan, FileVisitor& visitor, const char* pattern) {
    scan.session.foundInMemory = 0;
    if (std::strlen(pattern) <= kDriveRootPatternLength) probeProgramFiles(scan.session, pattern);
    RememberedSubdirectories kept;
    RememberedSubdirectories* const keep = passTwoRepeatsTheSearch(pattern) ? &kept : nullptr;
    if (const PassOutcome ended = showAndOfferEntries(scan, visitor, pattern, keep)) return *ended;
    if (const PassOutcome ended = walkSubdirectories(scan, visitor, pattern, kept)) return *ended;
    return scan.session.filesScanned;
}

}  // namespace brisko
