#pragma once
// The process lists of the Tool Help and PSAPI back-ends: each entry is a
// process id and its image path as the back-end reports it.
#include <cstdint>
#include <vector>

namespace brisko {

struct ProcessEntry {
    std::uint32_t processId;
    // At most 259 characters are ever stored.
    char imagePath[340];
};

using ProcessList = std::vector<ProcessEntry>;

// Tool Help: every process of one snapshot, in snapshot order, its image
// as szExeFile names it. False when there is no list.
bool listProcessesByToolHelp(ProcessList& list);

enum class DebugPrivilegeStep {
    // A process that refuses to open is opened again after enabling the
    // debug privilege (the memory scan's list).
    kOnRefusal,
    kNever,
};

// PSAPI: every process whose image path can be read, in EnumProcesses
// order; only the first 1024 ids are seen. False when there is no list
// (PSAPI missing, or no process id at all).
bool listProcessesByPsapi(ProcessList& list, DebugPrivilegeStep step);

}  // namespace brisko
