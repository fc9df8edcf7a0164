#pragma once
// The one process-wide scan state that every step of a scan reads and
// writes, and the two ways in which a step reports: posting a line to the
// report list and showing the item being scanned.
#include <cstdint>

#include "platform/platform_types.h"

namespace brisko {

// Messages of the report window; the plain numbers, not application ones.
constexpr std::uint32_t kShowItemMessage = 10;
constexpr std::uint32_t kAppendLineMessage = 11;

// Treatments of an infected file.
enum UserAction : std::int32_t {
    kActionRemove = 100,
    kActionRename = 101,
    kActionRemoveToo = 102,
    kActionLeave = 103,
};

struct ScanSession {
    WindowHandle reportWindow;
    char reportLine[500];
    char currentItem[260];
    char currentThreat[260];
    // Empty: nothing to scan; "!:": every fixed drive; else one directory.
    char scanTarget[260];
    std::int32_t userAction;
    std::uint8_t stopRequested;
    // Once set, the report list is no longer emptied when full.
    std::uint8_t statisticsStarted;
    std::int32_t rebootRequired;
    std::int32_t filesScanned;
    std::int32_t filesInfected;
    std::int32_t filesRemoved;
    std::int32_t filesRenamed;
    std::uint8_t inMemoryScan;
    std::uint8_t foundInMemory;
    std::int32_t memoryScanAction;
    // Search pattern of the Program Files folder of the drive being walked.
    char programFilesPath[260];
    std::int32_t programFilesPending;
    std::int32_t programFilesVisited;
    char infectedPath[261];
    char autostartValueName[128];
    // Set when a failed wininit.ini rewrite could not be undone: the copy in
    // the temporary folder is then the only whole one, and no later rewrite
    // of this scan may replace it.
    std::uint8_t wininitOnlyInCopy;
};

extern ScanSession scanSession;

// Formats a line into reportLine (bounded) and sends it to the report window.
void postReportLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Copies the text into currentItem (cut to fit) and sends the show-item message.
void showItem(const char* text);

// The block that closes every scan, then the end text in the status.
void postStatisticsBlock();
void showEndText();

}  // namespace brisko
