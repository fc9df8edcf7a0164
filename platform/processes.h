#pragma once
// Running processes: the Tool Help snapshot, the PSAPI process list, and
// process objects opened by id. Both listing libraries are optional; a
// backend without one answers as if it listed nothing.
#include <cstdint>
#include <memory>

#include "platform/platform_types.h"

namespace brisko {

// Process access rights, with the values Windows gives them.
constexpr std::uint32_t kProcessTerminate = 0x0001;
constexpr std::uint32_t kProcessQueryInformation = 0x0400;
constexpr std::uint32_t kProcessVmRead = 0x0010;

// One entry of a Tool Help snapshot: the id and the executable as the
// system names it (a full path on the 9x family, a file name elsewhere).
struct SnapshotEntry {
    std::uint32_t processId;
    char exeFile[kPathCapacity];
};

// The processes of one Tool Help snapshot, in snapshot order. Closes the
// snapshot when destroyed.
class ProcessSnapshot {
public:
    virtual ~ProcessSnapshot() = default;
    virtual bool first(SnapshotEntry& entry) = 0;
    virtual bool next(SnapshotEntry& entry) = 0;
};

// An opened process. Closes its handle when destroyed.
class OpenedProcess {
public:
    virtual ~OpenedProcess() = default;
    // Copies the path of the process's main image, terminated and cut to
    // capacity; the length copied, 0 when it cannot be read.
    virtual unsigned imagePath(char* buffer, unsigned capacity) = 0;
    virtual bool terminate(std::uint32_t exitCode) = 0;
};

class Processes {
public:
    virtual ~Processes() = default;

    // A Tool Help snapshot of every process; null when Tool Help is missing
    // or the snapshot cannot be taken.
    virtual std::unique_ptr<ProcessSnapshot> snapshotProcesses() = 0;
    // PSAPI's EnumProcesses into ids (capacityBytes long): the bytes filled.
    // False when PSAPI, EnumProcesses or GetModuleFileNameExA is missing, or
    // the call fails.
    virtual bool listProcessIds(std::uint32_t* ids, std::uint32_t capacityBytes,
                                std::uint32_t& bytesReturned) = 0;
    // Opens a process with the given access; null when refused. lastError
    // is the system's error code right after the attempt (0 on success).
    virtual std::unique_ptr<OpenedProcess> openProcess(std::uint32_t processId, std::uint32_t access,
                                                       std::uint32_t& lastError) = 0;
};

}  // namespace brisko
