#pragma once
// Processes over Tool Help and PSAPI, both resolved by name at run time,
// and OpenProcess / TerminateProcess.
#include "platform/processes.h"

namespace brisko {

class Win32Processes final : public Processes {
public:
    std::unique_ptr<ProcessSnapshot> snapshotProcesses() override;
    bool listProcessIds(std::uint32_t* ids, std::uint32_t capacityBytes, std::uint32_t& bytesReturned) override;
    std::unique_ptr<OpenedProcess> openProcess(std::uint32_t processId, std::uint32_t access,
                                               std::uint32_t& lastError) override;
};

}  // namespace brisko
