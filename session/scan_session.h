#pragma once
// The record of one scan, which every step of it reads and writes. It
// belongs to the scan that runs it and reaches each step through that
// scan's context.
#include <cstdint>

#include "platform/platform_types.h"

namespace brisko {

// Treatments of an infected file.
enum UserAction : std::int32_t {
    kActionRemove = 100,
    kActionRename = 101,
    kActionRemoveToo = 102,
    kActionLeave = 103,
};

// What a front end without a window of its own (a console, a test) puts in
// reportWindow: like a window, it makes the posts that need one go out.
constexpr WindowHandle kWindowlessReport = 1;

// The scanTarget that means every fixed drive.
constexpr const char* kAllFixedDrives = "!:";

struct ScanSession {
    // Where the report goes; 0: nowhere, and the posts that need a report
    // window are not even made.
    WindowHandle reportWindow;
    char reportLine[500];
    char currentItem[260];
    char currentThreat[260];
    // Empty: nothing to scan; kAllFixedDrives; else one directory.
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
    // Set once an infected process could be neither ended nor stopped as a
    // service; never cleared.
    std::uint8_t memoryRestartNeeded;
};

}  // namespace brisko
